#!/usr/bin/env python3
"""Writes the four state pictures of a control from one template.

A template is an SVG named "<stem>[@2x|@3x].svg.in" under Settings.bundle/icons/. It uses the
placeholders {{fill}}, {{line}}, {{ink}} and {{opacity}}; this script writes
"<stem>_Normal", "_On", "_Down" and "_Disable" (+ the same scale suffix) ".svg" beside it with the
state colours of Settings.bundle/icons/LOOK.md filled in.

    python3 tools-build/make_state_icons.py [--check] <template or folder>...

A folder is searched for templates recursively. --check writes nothing and fails when a state
picture is missing or differs from what its template gives (run it before committing).
"""
import pathlib
import re
import sys

# State colours; keep in step with the palette in LOOK.md.
STATES = {
    "Normal":  {"fill": "#222730", "line": "#3A414D", "ink": "#CDD6DD", "opacity": "1"},
    "On":      {"fill": "#2C323D", "line": "#60DED0", "ink": "#60DED0", "opacity": "1"},
    "Down":    {"fill": "#1C2027", "line": "#3FB3A7", "ink": "#3FB3A7", "opacity": "1"},
    "Disable": {"fill": "#222730", "line": "#3A414D", "ink": "#CDD6DD", "opacity": "0.4"},
}
TEMPLATE_NAME = re.compile(r"^(?P<stem>.+?)(?P<scale>@[23]x)?\.svg\.in$")
PLACEHOLDER = re.compile(r"\{\{(\w+)\}\}")


def state_pictures(template: pathlib.Path):
    """Yields (path, text) of each state picture of one template."""
    match = TEMPLATE_NAME.match(template.name)
    if not match:
        raise SystemExit(f"{template}: a template is named <stem>[@2x|@3x].svg.in")
    source = template.read_text(encoding="utf-8")
    for state, colours in STATES.items():
        def fill_in(placeholder):
            name = placeholder.group(1)
            if name not in colours:
                raise SystemExit(f"{template}: unknown placeholder {{{{{name}}}}}")
            return colours[name]
        text = PLACEHOLDER.sub(fill_in, source)
        name = f"{match['stem']}_{state}{match['scale'] or ''}.svg"
        yield template.with_name(name), text


def templates(args):
    for arg in args:
        path = pathlib.Path(arg)
        if path.is_dir():
            yield from sorted(path.rglob("*.svg.in"))
        else:
            yield path


def main(argv):
    check = "--check" in argv
    paths = [a for a in argv if a != "--check"]
    if not paths:
        print(__doc__, file=sys.stderr)
        return 2
    stale = []
    for template in templates(paths):
        for path, text in state_pictures(template):
            if check:
                if not path.exists() or path.read_text(encoding="utf-8") != text:
                    stale.append(path)
            else:
                path.write_text(text, encoding="utf-8")
                print(f"wrote {path}")
    for path in stale:
        print(f"{path}: out of date with its template; run tools-build/make_state_icons.py", file=sys.stderr)
    return 1 if stale else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
