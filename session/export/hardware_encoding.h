#pragma once
// Whether exports could use a hardware video encoder on this machine: one probe per run, in
// which a hardware encoder must really encode a picture, not merely be listed.
namespace kestrel::session {

// The first call probes (slow where devices answer); later calls give the same answer at once.
bool hardwareEncodingAvailable();

}  // namespace kestrel::session
