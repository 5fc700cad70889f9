#pragma once
// The edits an export refuses, found before anything is written: a range that is not a range or
// lies outside the file, a crop that leaves no picture, a value outside its control's range. The
// export then does not run and the user is told why, instead of getting a file without the edit.
#include <QString>

#include "model/simple_data.h"
#include "session/edit/edit_state.h"

namespace kestrel::session {

// The key of the localised message that says why the edits cannot be exported; empty when
// they can. source: the open file's record (its duration and frame size bound the edits).
QString editStateRefusal(const EditState& state, const kestrel::model::SimpleData& source);

}  // namespace kestrel::session
