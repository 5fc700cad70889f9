#include "session/jobs/engine_handles.h"

#include "engine/editing/rdve.h"
#include "engine/mediacore/media_core.h"
#include "engine/mediacore/media_join.h"

namespace kestrel::session {

void* ConvertTraits::create() { return apiMediaConvertCreate(); }
void ConvertTraits::close(void* handle) { apiMediaConvertClose(handle); }

void* JoinTraits::create() { return apiMediaJoinCreate(); }
void JoinTraits::close(void* handle) { apiMediaJoinClose(handle); }

void* VirtualVideoTraits::create() { return rdVEVirtualVideoCreate(); }
void VirtualVideoTraits::close(void* handle) { rdVEVirtualVideoDestory(handle); }

void* ReverseTraits::create() { return rdVEMediaReverseCreate(); }
void ReverseTraits::close(void* handle) { rdVEMediaReverseClose(handle); }

void SnapshotTraits::close(void* handle) { rdVEMediaSnapshotClose(handle); }
void ProbeTraits::close(void* handle) { MediaClose(handle); }

SnapshotHandle openSnapshot(const char* path) { return SnapshotHandle(rdVEMediaSnapshotOpen(path)); }
ProbeHandle openProbe(const char* path) { return ProbeHandle(MediaOpen(path)); }

}  // namespace kestrel::session
