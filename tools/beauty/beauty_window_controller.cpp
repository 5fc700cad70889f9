#include "tools/beauty/beauty_window_controller.h"

#include "services/language.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QPointer>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QThreadPool>
#include <QVBoxLayout>

namespace beauty {

using kestrel::session::BeautyValue;

namespace {
constexpr const char* kRowKeys[5] = {"Smoonth", "Bright", "Tone", "Face lift", "Big eyes"};
bool isShapeRow(int row) { return row >= 3; }
}  // namespace

BeautyWindowController::BeautyWindowController(QWidget* parent)
    : SingleClipFrame(QStringLiteral("Beauty_Title"), QStringLiteral("BeautyModel"), parent) {
    auto* grid = new QGridLayout();
    for (int row = 0; row < 5; ++row) {
        labels[row] = new QLabel(this);
        labels[row]->setMinimumWidth(70);
        labels[row]->setWordWrap(true);
        sliders[row] = new QSlider(Qt::Horizontal, this);
        fields[row] = new QSpinBox(this);
        int low = isShapeRow(row) ? -100 : 0;
        sliders[row]->setRange(low, 100);
        fields[row]->setRange(low, 100);
        fields[row]->setFixedWidth(56);
        fields[row]->setButtonSymbols(QAbstractSpinBox::NoButtons);
        fields[row]->setAlignment(Qt::AlignRight);
        grid->addWidget(labels[row], row, 0);
        grid->addWidget(sliders[row], row, 1);
        grid->addWidget(fields[row], row, 2);
        connect(sliders[row], &QSlider::valueChanged, this, [this, row](int v) { setValue(row, v); });
        connect(fields[row], &QSpinBox::valueChanged, this, [this, row](int v) { setValue(row, v); });
    }
    toolPanel()->addLayout(grid);
    changeLanguage();
}

BeautyWindowController::~BeautyWindowController() { releaseModel(); }

void BeautyWindowController::windowDidLoad() {
    // The model is the packaged landmark file the bundle links to. Reading it takes most of a
    // second, so it loads on the shared thread pool; the shape rows wait for it, and without it
    // they stay off and say why. A window closed meanwhile does not wait for it: the load hands
    // its model back by itself (the pool is drained when the application ends).
    for (int row = 3; row < 5; ++row) {
        sliders[row]->setEnabled(false);
        fields[row]->setEnabled(false);
    }
    const QString path = ::services::Language::pathWithfileName(QStringLiteral("face_small.dat"));
    QPointer<BeautyWindowController> self(this);
    QThreadPool::globalInstance()->start([self, path] {
        bool loaded = kestrel::session::SingleClipPreview::loadFaceModel(path);
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, loaded] {
                if (self) self->modelReady(loaded);
                else if (loaded) kestrel::session::SingleClipPreview::releaseFaceModel();  // the window went first
            },
            Qt::QueuedConnection);
    });
    SingleClipFrame::windowDidLoad();
}

void BeautyWindowController::modelReady(bool loaded) {
    modelAsked_ = true;
    modelLoaded_ = loaded;
    for (int row = 3; row < 5; ++row) {
        sliders[row]->setEnabled(loaded);
        fields[row]->setEnabled(loaded);
    }
    changeLanguage();
}

void BeautyWindowController::releaseModel() {
    if (modelLoaded_) kestrel::session::SingleClipPreview::releaseFaceModel();
    modelLoaded_ = false;
}

void BeautyWindowController::setValue(int row, int value) {
    QSignalBlocker a(sliders[row]), b(fields[row]);
    sliders[row]->setValue(value);
    fields[row]->setValue(value);
    preview().setBeauty(static_cast<BeautyValue>(row), value);
}

void BeautyWindowController::mediaOpened() {
    // A new file is a new media: its values start at zero.
    for (int row = 0; row < 5; ++row) {
        QSignalBlocker a(sliders[row]), b(fields[row]);
        sliders[row]->setValue(0);
        fields[row]->setValue(0);
    }
}

bool BeautyWindowController::fillExport(kestrel::session::SingleClipExport& settings) {
    for (int row = 0; row < 5; ++row) settings.beauty[row] = fields[row]->value();
    return true;
}

void BeautyWindowController::changeLanguage() {
    SingleClipFrame::changeLanguage();
    for (int row = 0; row < 5; ++row)
        if (labels[row]) labels[row]->setText(::services::localized(QString::fromLatin1(kRowKeys[row])));
    if (modelAsked_ && !modelLoaded_ && noteLabel) showNote(::services::localized(QStringLiteral("FaceModelMissingNote")));
}

void BeautyWindowController::closeEvent(QCloseEvent* event) {
    SingleClipFrame::closeEvent(event);
    releaseModel();
}

}  // namespace beauty
