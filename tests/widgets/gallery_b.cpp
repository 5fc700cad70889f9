// Look-review shots of the bars, sliders, progress view, marker and time field.
#include "tests/widgets/gallery.h"
#include "widgets/music_range_slider.h"
#include "widgets/ns_progress_view.h"
#include "widgets/rd_cut_progress_view.h"
#include "widgets/rd_progress_slider.h"
#include "widgets/rd_text_field.h"
#include "widgets/volume_progress_slider.h"
#include "widgets/zor_dragged_view.h"

using namespace kestrel::widgets;

namespace {

enum class BarLook { Classic, ClassicKeepOutside, New, NewKeepOutside, Disabled, Music, Repeat };

QWidget* cutBar(BarLook look) {
    const bool fromFile = look != BarLook::Classic && look != BarLook::ClassicKeepOutside;
    auto* bar = new RDCutProgressView(QRectF(0, 0, 400, 44), nullptr,
                                      fromFile ? Construction::FromInterfaceFile : Construction::InCode);
    if (fromFile) bar->setIsFanxuan(false);
    bar->setFrame(QRectF(0, 0, 400, 44));
    if (look == BarLook::ClassicKeepOutside || look == BarLook::NewKeepOutside) bar->setIsFanxuan(true);
    bar->setUpperValue(0.75f);
    bar->setLowerValue(0.25f);
    bar->setProgress(0.4f);
    if (look == BarLook::Disabled) bar->setDisable(true);
    if (look == BarLook::Music || look == BarLook::Repeat) {
        bar->setMusicRangeLowerValue(0, 0.2f);
        bar->setIsRepeat(look == BarLook::Repeat);
    }
    return gallery::host(bar, {420, 64});
}

QWidget* volumeSlider(bool vertical, bool fromFile) {
    const QRectF frame = vertical ? QRectF(0, 0, 20, 120) : QRectF(0, 0, 200, 20);
    auto* slider = new VolumeProgressSlider(frame, nullptr, fromFile ? Construction::FromInterfaceFile : Construction::InCode);
    slider->setProgress(0.6f);
    return gallery::host(slider, vertical ? QSize(40, 140) : QSize(220, 40));
}

QWidget* progressSlider(bool fromFile) {
    auto* slider = new RDProgressSlider(QRectF(0, 0, 240, 14), nullptr,
                                        fromFile ? Construction::FromInterfaceFile : Construction::InCode);
    slider->setTickrefresh(true);
    slider->setProgress(0.3f);
    return gallery::host(slider, {260, 34});
}

QWidget* progressView(float value) {
    auto* view = new NSProgressView(QRectF(0, 0, 300, 20));
    view->setIsShowProgressLabel(true);
    view->setProgress(value);
    return gallery::host(view, {320, 40});
}

QWidget* musicSlider(bool enable, bool repeat) {
    auto* slider = new MusicRangeSlider(QRectF(0, 0, 300, 30));
    slider->setVideoRangeLowerValue(0.2f, 0.8f);
    slider->setMusicRangeLowerValue(0.2f, 0.15f);
    slider->setIsRepeat(repeat);
    slider->setEnable(enable);
    slider->setProgress(0.45f);
    return gallery::host(slider, {320, 50});
}

QWidget* textField(bool enabled) {
    auto* field = new RDTextField(QRectF(0, 0, 80, 24), nullptr);
    field->setText("00:01:30");
    field->setEnabled(enabled);
    return gallery::host(field, {100, 44});
}

QWidget* pinMarker() {
    auto* marker = new ZorDraggedView(QRectF(0, 0, 12, 40), nullptr);
    marker->setIsDraw(true);
    return gallery::host(marker, {32, 60});
}

gallery::Registrar shots({
    {"RDCutProgressView_Classic", [] { return cutBar(BarLook::Classic); }},
    {"RDCutProgressView_ClassicKeepOutside", [] { return cutBar(BarLook::ClassicKeepOutside); }},
    {"RDCutProgressView_New", [] { return cutBar(BarLook::New); }},
    {"RDCutProgressView_NewKeepOutside", [] { return cutBar(BarLook::NewKeepOutside); }},
    {"RDCutProgressView_Disable", [] { return cutBar(BarLook::Disabled); }},
    {"RDCutProgressView_Music", [] { return cutBar(BarLook::Music); }},
    {"RDCutProgressView_Repeat", [] { return cutBar(BarLook::Repeat); }},
    {"VolumeProgressSlider_Horizontal", [] { return volumeSlider(false, true); }},
    {"VolumeProgressSlider_Vertical", [] { return volumeSlider(true, true); }},
    {"VolumeProgressSlider_InCode", [] { return volumeSlider(false, false); }},
    {"RDProgressSlider_InCode", [] { return progressSlider(false); }},
    {"RDProgressSlider_FromFile", [] { return progressSlider(true); }},
    {"NSProgressView_Half", [] { return progressView(0.456f); }},
    {"NSProgressView_Full", [] { return progressView(1.0f); }},
    {"MusicRangeSlider_Enable", [] { return musicSlider(true, false); }},
    {"MusicRangeSlider_Repeat", [] { return musicSlider(true, true); }},
    {"MusicRangeSlider_Position", [] { return musicSlider(false, false); }},
    {"RDTextField_Disable", [] { return textField(false); }},
    {"RDTextField_Normal", [] { return textField(true); }},
    {"ZorDraggedView_Pin", [] { return pinMarker(); }},
});

}  // namespace
