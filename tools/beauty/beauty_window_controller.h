#pragma once
// The face beauty tool: the single-clip frame for a video or a picture with five face values
// (smoothing, brightening, tone, face slimming, eye enlarging) that the engine applies live.
// Without the landmark model, slimming and eye enlarging are off with a note.
#include "tools/shared/single_clip_frame.h"

#include <array>

class QLabel;
class QSlider;
class QSpinBox;

namespace beauty {

class BeautyWindowController : public kestrel::tools::shared::SingleClipFrame {
    Q_OBJECT
public:
    explicit BeautyWindowController(QWidget* parent = nullptr);
    ~BeautyWindowController() override;

    // Smoothing, brightening, tone (0..100), slimming and eye enlarging (-100..100).
    std::array<QSlider*, 5> sliders{};
    std::array<QSpinBox*, 5> fields{};
    std::array<QLabel*, 5> labels{};
    bool faceModelLoaded() const { return modelLoaded_; }
    // False while the model is still being read (it loads off the UI thread).
    bool faceModelSettled() const { return modelAsked_; }

protected:
    void windowDidLoad() override;
    bool acceptsPictures() const override { return true; }
    void mediaOpened() override;
    bool fillExport(kestrel::session::SingleClipExport& settings) override;
    void changeLanguage() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void setValue(int row, int value);
    void releaseModel();
    void modelReady(bool loaded);

    bool modelLoaded_ = false;
    bool modelAsked_ = false;
};

}  // namespace beauty
