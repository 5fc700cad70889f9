#include "session/jobs/engine_runs.h"

#include "engine/editing/rdve.h"
#include "engine/mediacore/media_core.h"
#include "engine/mediacore/media_join.h"

#include <algorithm>

namespace kestrel::session {
namespace {

// The engines report percent; a failure value (negative) reads as no progress.
double fractionOfPercent(double percent) { return std::clamp(percent / 100.0, 0.0, 1.0); }

}  // namespace

int32_t ConvertRun::run() { return apiMediaConvertStart(handle_.get()); }
void ConvertRun::stop() { apiMediaConvertStop(handle_.get()); }
double ConvertRun::progress() const { return fractionOfPercent(apiMediaConvertGetProgress(handle_.get())); }

int32_t JoinRun::run() { return apiMediaJoinStart(handle_.get()); }
void JoinRun::stop() { apiMediaJoinStop(handle_.get()); }
double JoinRun::progress() const { return fractionOfPercent(apiMediaJoinGetProgress(handle_.get())); }

// The render is prepared by the engine when the owner has not called rdVEEditMediaInit itself.
int32_t EditRun::run() { return rdVEEditMedia(handle_.get()); }
void EditRun::stop() { rdVEEditStop(handle_.get()); }
double EditRun::progress() const { return fractionOfPercent(rdVEEditProgressEx(handle_.get())); }

int32_t ReverseRun::run() { return rdVEMediaReverseEncode(handle_.get()); }
void ReverseRun::stop() { rdVEMediaReverseStop(handle_.get()); }
double ReverseRun::progress() const { return fractionOfPercent(rdVEMediaReverseGetProgress(handle_.get())); }

}  // namespace kestrel::session
