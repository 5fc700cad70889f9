#pragma once
// The joiner's clips follow the format bar: a chosen profile writes every clip's target values,
// a single change in the settings dialog rewrites the matching value of each clip (a custom
// frame size keeps each clip's own side where no custom value is set), and the dialog's
// Default button all of them. New clips take the current choice when they are added.
#include <QList>

#include "export/profiles/profile_choice.h"
#include "model/simple_data.h"

namespace kestrel::tools::joiner {

// The chosen profile's values into every clip's target. audioCategory: the profile is an
// "Audio" one and leaves the video values alone.
void applyChoiceToClips(const exportkit::ProfileChoice& choice, bool audioCategory,
                        const QList<kestrel::model::SimpleDataPtr>& clips);

// One setting changed in the settings dialog (flags 1..128): the choice re-reads it and every
// clip's target follows.
void applySettingToClips(int flag, exportkit::ProfileChoice& choice, const exportkit::ChoiceKeys& keys,
                         const QList<kestrel::model::SimpleDataPtr>& clips);

// The dialog's Default button: every setting in flag order for every clip.
void applyAllSettingsToClips(exportkit::ProfileChoice& choice, const exportkit::ChoiceKeys& keys,
                             const QList<kestrel::model::SimpleDataPtr>& clips);

}  // namespace kestrel::tools::joiner
