#include "tools/converter3d/ui3d_converter_window_controller.h"

#include "services/language.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace converter3d {

namespace {
constexpr const char* kModes[6][2] = {{"RedBlue", "lblRdRedBlue3d"},           {"LeftRight", "lblRdLeftRight3d"},
                                      {"HalfLeftRight", "lblRdHalfLeftRight3d"}, {"TopBottom", "lblRdTopBottom3d"},
                                      {"HalfTopBottom", "lblRdHalfTopBottom3d"}, {"FrameSequence", "lblRdFrameSequence3d"}};
}

UI3DConverterWindowController::UI3DConverterWindowController(QWidget* parent)
    : SingleClipFrame(QStringLiteral("3D_Title"), QStringLiteral("3DModel"), parent) {
    for (int i = 0; i < 6; ++i) {
        auto* b = new QPushButton(this);
        b->setCheckable(true);
        b->setMinimumHeight(30);
        b->setProperty("tag", i + 1);
        connect(b, &QPushButton::clicked, this, [this, i] { applyMode(i + 1); });
        toolPanel()->addWidget(b);
        modeButtons[i] = b;
    }
    changeLanguage();
}

QString UI3DConverterWindowController::modeFolder(int tag) {
    return tag >= 1 && tag <= 6 ? QString::fromLatin1(kModes[tag - 1][0]) : QString();
}

bool UI3DConverterWindowController::applyMode(int tag) {
    const QString folder = modeFolder(tag);
    const QString file = QStringLiteral("3d/%1/filter/config.json").arg(folder);
    const QString path = folder.isEmpty() ? QString() : ::services::Language::pathWithfileName(file);
    if (path.isEmpty() || !preview().setFilter(path)) {
        // The preview keeps the mode in use; the button of the refused one stays unchecked.
        const QString name = tag >= 1 && tag <= 6 ? ::services::localized(QString::fromLatin1(kModes[tag - 1][1])) : QString();
        modeProblem_ = ::services::localized(QStringLiteral("3DModeUnusable")).arg(name, file);
        showNote(modeProblem_);
        checkModeInUse();
        return false;
    }
    modeInUse_ = tag;
    effectPath_ = path;
    modeProblem_.clear();
    showNote(QString());
    checkModeInUse();
    return true;
}

void UI3DConverterWindowController::checkModeInUse() {
    for (int i = 0; i < 6; ++i) modeButtons[i]->setChecked(i + 1 == modeInUse_);
}

void UI3DConverterWindowController::mediaOpened() {
    // A new preview has no filter stage yet: the clip starts in red/cyan.
    modeInUse_ = 0;
    effectPath_.clear();
    applyMode(1);
}

bool UI3DConverterWindowController::fillExport(kestrel::session::SingleClipExport& settings) {
    if (effectPath_.isEmpty()) {
        showNote(modeProblem_);  // why the mode the clip started in was refused
        return false;
    }
    settings.filter_config = effectPath_;
    return true;
}

void UI3DConverterWindowController::changeLanguage() {
    SingleClipFrame::changeLanguage();
    for (int i = 0; i < 6; ++i)
        if (modeButtons[i]) modeButtons[i]->setText(::services::localized(QString::fromLatin1(kModes[i][1])));
}

}  // namespace converter3d
