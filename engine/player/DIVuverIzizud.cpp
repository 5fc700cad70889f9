#include "engine/player/DIVuverIzizud.h"

#include <QPointer>
#include <QWidget>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstring>

#include "engine/core/effect_chains.h"
#include "engine/core/media_input.h"
#include "engine/player/audio_output.h"
#include "engine/player/audio_worker.h"
#include "engine/player/frame_presenter.h"
#include "engine/player/playback_clock.h"
#include "engine/player/player_view.h"
#include "engine/player/preview_settings.h"
#include "engine/player/video_pipeline.h"
#include "engine/player/video_worker.h"
#include "platform/dispatch.h"
#include "platform/frame.h"

namespace kestrel::player {

namespace {
// How often the window's thread looks for the next picture while playing.
constexpr int kTickMs = 5;
// Playing starts (and goes on after a seek) once this many pictures are decoded ahead, the
// queue is full or the file ended: a decoder that starts cold, with its threads' pictures in
// flight, would otherwise show its first second late and drop it. A machine too slow to fill
// the queue still starts after the wait.
constexpr size_t kPrerollPictures = 4;
constexpr int64_t kPrerollWaitUs = 1000000;

std::string fixedText(const char* text) { return text ? std::string(text) : std::string(); }
}  // namespace

struct DIVuverIzizud::Impl {
    std::string path;
    int64_t duration_us = 0;
    QPointer<PlayerView> view;
    std::shared_ptr<SettingsStore> settings = std::make_shared<SettingsStore>();
    std::unique_ptr<VideoWorker> video;
    FramePresenter presenter;
    PlaybackClock clock;

    // Sound exists only with a sound device; the mix settings are kept either way.
    std::shared_ptr<AudioRing> ring;
    std::unique_ptr<AudioOutput> audio_out;
    std::unique_ptr<AudioWorker> audio;
    engine::AudioSettings mix;
    int audio_index = -1;
    double volume = 1.0;

    QTimer tick;
    bool playing = false;
    bool prerolling = false;       // playing, the clock held until pictures are decoded ahead
    QElapsedTimer preroll_wait;
    bool closed = false;
    int64_t position_us = 0;       // where a paused player stands
    int64_t shown_pts_us = 0;      // the picture on screen
    int64_t shown_end_us = 0;
    QImage shown;
    std::function<void()> end_block;
    std::shared_ptr<int> alive = std::make_shared<int>(0);

    int64_t clampTime(int64_t us) const { return std::clamp<int64_t>(us, 0, duration_us); }
    uint64_t shown_count = 0;      // pictures shown while playing, for the playback bench

    void show(const Picture& p) {
        shown = p.image;
        shown_pts_us = p.pts_us;
        shown_end_us = p.pts_us + p.duration_us;
        if (view) view->showImage(shown);
    }
    void onTick();
    void startPreroll();
    bool prerollDone();
    void finish();
    void restartAudio(int64_t at_us) {
        if (audio) audio->restart(at_us, mix, audio_index);
    }
    void applyMixChange() {
        if (audio) restartAudio(playing ? clampTime(clock.nowUs()) : position_us);
    }
};

DIVuverIzizud::DIVuverIzizud() : d_(std::make_unique<Impl>()) {}

DIVuverIzizud::~DIVuverIzizud() {
    closePlayer();
    delete d_->view.data();
}

std::unique_ptr<DIVuverIzizud> DIVuverIzizud::initWithString(const std::string& path, const QRectF& frame) {
    std::string error;
    std::unique_ptr<engine::MediaInput> input = engine::MediaInput::open(path, &error);
    if (!input) return nullptr;
    const bool has_video = input->bestVideoStream() >= 0;
    const bool has_audio = input->bestAudioStream() >= 0;
    if (!has_video && !has_audio) return nullptr;

    std::unique_ptr<DIVuverIzizud> player(new DIVuverIzizud);
    Impl& d = *player->d_;
    d.path = path;
    d.duration_us = std::max<int64_t>(0, input->durationUs());
    input.reset();

    if (has_video) {
        std::unique_ptr<VideoPipeline> pipeline = VideoPipeline::open(path, d.settings, &error);
        if (!pipeline) return nullptr;
        d.video = std::make_unique<VideoWorker>(std::move(pipeline));
        // A file whose first picture does not decode cannot be previewed.
        std::optional<Picture> first = d.video->seek(0);
        if (!first) return nullptr;
        d.show(*first);
    }
    d.ring = std::make_shared<AudioRing>();
    d.audio_out = AudioOutput::create(d.ring);
    if (d.audio_out) {
        d.audio = AudioWorker::create(path, d.ring);
        if (d.audio) d.audio->restart(0, d.mix, d.audio_index);
    } else if (!has_video && !AudioWorker::decodes(path)) {
        return nullptr;
    }
    if (d.audio_out && d.audio)
        d.clock.setAudioTimeSource([out = d.audio_out.get()] { return out->heardTimeUs(); });

    d.view = new PlayerView;
    if (!d.shown.isNull()) d.view->showImage(d.shown);
    player->setFrame(frame);
    d.tick.setTimerType(Qt::PreciseTimer);
    d.tick.setInterval(kTickMs);
    QObject::connect(&d.tick, &QTimer::timeout, [&d] { d.onTick(); });
    return player;
}

QWidget* DIVuverIzizud::view() const { return d_->view.data(); }

void DIVuverIzizud::setFrame(const QRectF& frame) {
    QWidget* view = d_->view.data();
    if (!view) return;
    // The view sits in the caller's window: place it by the parent's bottom-left frame rules.
    const QWidget* parent = view->isWindow() ? nullptr : view->parentWidget();
    view->setGeometry(parent ? platform::qtRectFromFrame(frame, parent->height(), platform::isFlipped(parent))
                             : platform::qtRectFromFrame(frame, 0, true));
}

void DIVuverIzizud::play() {
    Impl& d = *d_;
    if (d.closed || d.playing) return;
    d.playing = true;
    d.clock.set(d.position_us);
    d.startPreroll();
    d.tick.start();
}

void DIVuverIzizud::Impl::startPreroll() {
    clock.pause();
    if (audio_out) audio_out->suspend();
    prerolling = true;
    preroll_wait.start();
}

bool DIVuverIzizud::Impl::prerollDone() {
    const bool ready = !video || video->reachedEnd() || video->queue().full() ||
                       video->queue().size() >= kPrerollPictures || preroll_wait.nsecsElapsed() / 1000 >= kPrerollWaitUs;
    if (!ready) return false;
    prerolling = false;
    clock.play();
    if (audio_out) audio_out->start();
    return true;
}

void DIVuverIzizud::pause() {
    Impl& d = *d_;
    if (!d.playing) return;
    d.position_us = d.clampTime(d.clock.nowUs());
    d.playing = false;
    d.prerolling = false;
    d.clock.pause();
    d.tick.stop();
    if (d.audio_out) d.audio_out->suspend();
}

void DIVuverIzizud::stop() { pause(); }

void DIVuverIzizud::closePlayer() {
    Impl& d = *d_;
    if (d.closed) return;
    pause();
    d.closed = true;
    if (d.ring) d.ring->close();
    d.audio.reset();
    d.audio_out.reset();
    d.clock.setAudioTimeSource(nullptr);
    d.video.reset();
}

void DIVuverIzizud::seekTime(platform::MediaTime time) {
    Impl& d = *d_;
    if (d.closed || !time.isValid()) return;
    const int64_t target = d.clampTime(time.microseconds());
    if (d.video) {
        if (std::optional<Picture> p = d.video->seek(target)) d.show(*p);
    }
    d.position_us = target;
    d.clock.set(target);
    d.restartAudio(target);
    // Playing on from the new place waits for its pictures as a start does.
    if (d.playing) d.startPreroll();
}

platform::MediaTime DIVuverIzizud::currentTime() const {
    const Impl& d = *d_;
    return platform::MediaTime::fromMicroseconds(d.playing ? d.clampTime(d.clock.nowUs()) : d.position_us);
}

platform::MediaTime DIVuverIzizud::duration() const { return platform::MediaTime::fromMicroseconds(d_->duration_us); }

int DIVuverIzizud::playerStatus() const { return d_->playing ? 1 : 0; }

int DIVuverIzizud::frameWidth() const { return d_->shown.width(); }

uint64_t DIVuverIzizud::picturesShownPlaying() const { return d_->shown_count; }

uint64_t DIVuverIzizud::picturesDroppedLate() const { return d_->presenter.droppedLate(); }

int DIVuverIzizud::frameHeight() const { return d_->shown.height(); }

void DIVuverIzizud::setPlayerDidEndBlock(std::function<void()> block) { d_->end_block = std::move(block); }

void DIVuverIzizud::Impl::onTick() {
    if (!playing) return;
    if (prerolling && !prerollDone()) return;
    const int64_t now = clock.nowUs();
    bool video_done = true;
    if (video) {
        const uint64_t generation = video->generation();
        if (std::optional<Picture> p = presenter.due(video->queue(), generation, now)) {
            show(*p);
            ++shown_count;
        }
        video_done = video->reachedEnd() && FramePresenter::drained(video->queue(), generation) && now >= shown_end_us;
    }
    bool sound_done = true;
    if (audio) sound_done = audio->reachedEnd() && ring->queuedFrames() == 0;
    // Without video or sound device, the length of the file is all there is to go by.
    const bool time_done = (video || audio) ? true : now >= duration_us;
    if (video_done && sound_done && time_done) finish();
}

void DIVuverIzizud::Impl::finish() {
    position_us = clampTime(clock.nowUs());
    playing = false;
    clock.pause();
    tick.stop();
    if (audio_out) audio_out->suspend();
    // Always on the main thread, after the current event, and never after the player is gone.
    std::weak_ptr<int> guard = alive;
    platform::dispatchMainAsync([this, guard] {
        if (guard.expired() || !end_block) return;
        std::function<void()> block = end_block;
        block();
    });
}

void DIVuverIzizud::SetVolume(double factor) {
    d_->volume = std::max(0.0, factor);
    if (d_->ring) d_->ring->setGain(d_->volume);
}

void DIVuverIzizud::SetSpeed(double factor) {
    Impl& d = *d_;
    if (!(factor > 0)) return;
    const double speed = std::clamp(factor, 0.1, 4.0);
    d.clock.setSpeed(speed);
    d.mix.speed = speed;
    d.applyMixChange();
}

void DIVuverIzizud::SetBCS(int32_t brightness, int32_t contrast, int32_t saturation) {
    d_->settings->update([&](PreviewSettings& s) {
        s.brightness = std::clamp(brightness, -255, 255);
        s.contrast = std::clamp(contrast, -100, 100);
        s.saturation = std::clamp(saturation, -100, 100);
    });
}

void DIVuverIzizud::SetHFlip(int32_t on) {
    d_->settings->update([&](PreviewSettings& s) { s.hflip = on != 0; });
}

void DIVuverIzizud::SetVFlip(int32_t on) {
    d_->settings->update([&](PreviewSettings& s) { s.vflip = on != 0; });
}

void DIVuverIzizud::SetRotateAngle(int32_t degrees) {
    d_->settings->update([&](PreviewSettings& s) { s.rotate_deg = engine::normalizedAngle(degrees); });
}

void DIVuverIzizud::SetAudioIndex(int32_t stream_index) {
    if (d_->audio_index == stream_index) return;
    d_->audio_index = stream_index;
    d_->applyMixChange();
}

void DIVuverIzizud::SetMainAudioVolume(double volume) {
    d_->mix.main_volume = std::max(0.0, volume);
    d_->applyMixChange();
}

void DIVuverIzizud::DisableMainAudio(bool disabled) {
    if (d_->mix.main_enabled == !disabled) return;
    d_->mix.main_enabled = !disabled;
    d_->applyMixChange();
}

void DIVuverIzizud::SetSubtitle(SubtitleRecord record) {
    d_->settings->update([&](PreviewSettings& s) {
        s.subtitle = record;
        s.has_subtitle = strnlen(record.path, sizeof record.path) > 0;
    });
}

void DIVuverIzizud::UpdateSubtitleFontClr(uint32_t color, int32_t shadow, uint32_t shadow_color) {
    d_->settings->update([&](PreviewSettings& s) {
        s.subtitle.colour = color;
        s.subtitle.shadow = shadow;
        s.subtitle.shadow_colour = shadow_color;
    });
}

void DIVuverIzizud::UpdateSubtitleFontFile(const char* font_path) {
    const std::string path = fixedText(font_path);
    d_->settings->update([&](PreviewSettings& s) {
        std::memset(s.subtitle.font_path, 0, sizeof s.subtitle.font_path);
        std::memcpy(s.subtitle.font_path, path.data(), std::min(path.size(), sizeof s.subtitle.font_path - 1));
    });
}

void DIVuverIzizud::UpdateSubtitlePos(int32_t position) {
    d_->settings->update([&](PreviewSettings& s) { s.subtitle.position = position; });
}

void DIVuverIzizud::SetDrawTextCallback(PreviewDrawTextCallback callback) {
    d_->settings->update([&](PreviewSettings& s) { s.draw_text = callback; });
}

void DIVuverIzizud::SetLoadImageCallback(PreviewLoadImageCallback callback) {
    // Pictures are decoded by the engine itself; the routine is kept for completeness.
    d_->settings->update([&](PreviewSettings& s) { s.load_image = callback; });
}

int32_t DIVuverIzizud::AddImageEffect(int32_t effect_id) {
    if (engine::imageEffectChain(effect_id).empty()) return 0;
    int32_t place = 0;
    d_->settings->update([&](PreviewSettings& s) {
        s.effects.push_back(effect_id);
        place = int32_t(s.effects.size());
    });
    return place;
}

void DIVuverIzizud::ClearImageEffect() {
    d_->settings->update([](PreviewSettings& s) { s.effects.clear(); });
}

int32_t DIVuverIzizud::AddImageWatermask(ImageWatermarkRecord record) {
    if (strnlen(record.path, sizeof record.path) == 0) return 0;
    d_->settings->update([&](PreviewSettings& s) { s.image_watermarks.push_back(record); });
    return 1;
}

int32_t DIVuverIzizud::AddTextWatermask(TextWatermarkRecord record) {
    d_->settings->update([&](PreviewSettings& s) { s.text_watermarks.push_back(record); });
    return 1;
}

int32_t DIVuverIzizud::AddVideoWatermask(VideoWatermarkRecord record) {
    if (strnlen(record.path, sizeof record.path) == 0) return 0;
    d_->settings->update([&](PreviewSettings& s) { s.video_watermarks.push_back(record); });
    return 1;
}

void DIVuverIzizud::ClearWatermask() {
    d_->settings->update([](PreviewSettings& s) {
        s.image_watermarks.clear();
        s.video_watermarks.clear();
        s.text_watermarks.clear();
    });
}

int32_t DIVuverIzizud::AddDubbingMusic(const char* path, platform::MediaTime start, platform::MediaTime end,
                                       platform::MediaTime timeline_start, platform::MediaTime timeline_end,
                                       platform::MediaTime time_fadein, platform::MediaTime time_fadeout,
                                       double factor) {
    engine::MusicTrack track;
    track.path = fixedText(path);
    if (track.path.empty()) return 0;
    track.source_start_us = start.microseconds();
    track.source_end_us = end.microseconds();
    track.timeline_start_us = timeline_start.microseconds();
    track.timeline_end_us = timeline_end.microseconds();
    track.fade_in_us = time_fadein.microseconds();
    track.fade_out_us = time_fadeout.microseconds();
    track.volume = std::max(0.0, factor);
    d_->mix.music.push_back(std::move(track));
    d_->applyMixChange();
    return 1;
}

void DIVuverIzizud::ClearDubbingMusic() {
    d_->mix.music.clear();
    d_->applyMixChange();
}

void DIVuverIzizud::Refresh() {
    Impl& d = *d_;
    if (d.closed || !d.video) return;
    if (std::optional<Picture> p = d.video->seek(d.shown_pts_us)) d.show(*p);
}

int32_t DIVuverIzizud::Snapshot(int32_t* w, int32_t* h, uint8_t* buff) {
    const QImage& frame = d_->shown;
    if (!w || !h || !buff || *w <= 0 || *h <= 0 || frame.isNull()) return 0;
    QImage out = frame;
    if (frame.width() > *w || frame.height() > *h)
        out = frame.scaled(*w, *h, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                  .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const size_t row_bytes = size_t(out.width()) * 4;
    for (int y = 0; y < out.height(); ++y) std::memcpy(buff + y * row_bytes, out.constScanLine(y), row_bytes);
    *w = out.width();
    *h = out.height();
    return 1;
}

}  // namespace kestrel::player
