#pragma once
// The process-wide virtual video that tools may share: made on first use, kept until the
// process ends. A tool that releases its engine video (virtualVideoDestory) leaves the object,
// and the next preview asked of it makes a new engine video.
namespace kestrel::session {

class VEVirualVideo;

class VEMediaManager {
public:
    // Main thread; safe against concurrent first calls.
    static VEVirualVideo& shareVirualVideo();
};

}  // namespace kestrel::session
