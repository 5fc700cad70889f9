#pragma once
// The preview player: plays one media file into a view, with the picture settings, watermarks,
// subtitle and music mix of an export applied live. Times in and out are media times on the
// source time line, whatever the speed. Every operation is called on the main thread; decoding
// runs on the player's own threads.
#include <QRectF>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "engine/player/player_records.h"
#include "platform/media_time.h"

class QWidget;

namespace kestrel::player {

class DIVuverIzizud {
public:
    // A player on the file, paused on its first frame; null when the file cannot be played.
    static std::unique_ptr<DIVuverIzizud> initWithString(const std::string& path, const QRectF& frame);
    ~DIVuverIzizud();
    DIVuverIzizud(const DIVuverIzizud&) = delete;
    DIVuverIzizud& operator=(const DIVuverIzizud&) = delete;

    // The view showing the picture. The player owns it unless the caller's widget tree deletes it first.
    QWidget* view() const;
    void setFrame(const QRectF& frame);

    void play();
    void pause();
    // Halts playback at the current position.
    void stop();
    // Stops and releases the decoders; the player then only answers duration().
    void closePlayer();

    // Shows the frame at that time, also while paused; currentTime() then reports it.
    void seekTime(platform::MediaTime time);
    platform::MediaTime currentTime() const;
    platform::MediaTime duration() const;
    // 1 while playing, 0 otherwise.
    int playerStatus() const;
    int frameWidth() const;
    // Playback counts since the player was made: pictures shown while playing, and pictures
    // that came too late to be shown (the playback bench reads them).
    uint64_t picturesShownPlaying() const;
    uint64_t picturesDroppedLate() const;
    int frameHeight() const;

    // Called on the main thread when playback reaches the end (or a decode error ends it).
    void setPlayerDidEndBlock(std::function<void()> block);

    void SetVolume(double factor);
    void SetSpeed(double factor);
    void SetBCS(int32_t brightness, int32_t contrast, int32_t saturation);
    void SetHFlip(int32_t on);
    void SetVFlip(int32_t on);
    void SetRotateAngle(int32_t degrees);
    void SetAudioIndex(int32_t stream_index);
    void SetMainAudioVolume(double volume);
    void DisableMainAudio(bool disabled);

    void SetSubtitle(SubtitleRecord record);
    void UpdateSubtitleFontClr(uint32_t color, int32_t shadow, uint32_t shadow_color);
    void UpdateSubtitleFontFile(const char* font_path);
    void UpdateSubtitlePos(int32_t position);
    void SetDrawTextCallback(PreviewDrawTextCallback callback);
    void SetLoadImageCallback(PreviewLoadImageCallback callback);

    // Effects stack in call order; returns the effect's place in the stack (1-based), 0 if unknown.
    int32_t AddImageEffect(int32_t effect_id);
    void ClearImageEffect();

    int32_t AddImageWatermask(ImageWatermarkRecord record);
    int32_t AddTextWatermask(TextWatermarkRecord record);
    int32_t AddVideoWatermask(VideoWatermarkRecord record);
    void ClearWatermask();

    int32_t AddDubbingMusic(const char* path, platform::MediaTime start, platform::MediaTime end,
                            platform::MediaTime timeline_start, platform::MediaTime timeline_end,
                            platform::MediaTime time_fadein, platform::MediaTime time_fadeout, double factor);
    void ClearDubbingMusic();

    // Redraws the current frame with the current settings (while paused).
    void Refresh();
    // Copies the shown frame as BGRA premultiplied into buff (*w x *h x 4 bytes). A frame larger
    // than asked is scaled down to fit; *w and *h receive what was written. 1 on success.
    int32_t Snapshot(int32_t* w, int32_t* h, uint8_t* buff);

private:
    struct Impl;
    DIVuverIzizud();
    std::unique_ptr<Impl> d_;
};

}  // namespace kestrel::player
