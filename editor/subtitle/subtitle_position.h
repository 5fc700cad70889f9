#pragma once
// The subtitle's vertical position: pixels from the top of the frame, kept so that the text
// (about two font sizes high at the bottom, one elsewhere) stays inside the picture.
namespace kestrel::editor {

enum class SubtitlePlace { Top, Center, Bottom };

// From the position slider (0 top .. 1 bottom): p x height, at most height - 2 x font size.
int subtitlePositionFromProgress(double progress, int videoHeight, int fontSize);
// The three place buttons: 0, 0.5 and 1 of the height, at most height - font size for Top and
// Center and height - 2 x font size for Bottom.
int subtitlePositionForPlace(SubtitlePlace place, int videoHeight, int fontSize);
// A typed or stepped position, kept within what the slider can reach.
int clampedSubtitlePosition(int position, int videoHeight, int fontSize);

}  // namespace kestrel::editor
