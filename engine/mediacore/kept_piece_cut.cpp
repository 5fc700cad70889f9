#include "engine/mediacore/kept_piece_cut.h"

#include "engine/mediacore/convert_pipeline.h"

namespace kestrel::mediacore {

engine::ResultCode cutKeptPiece(const engine::KeptPiece& piece, const std::function<bool()>& stopped,
                                const std::function<void(double)>& progress) {
    ConvertSettings settings;
    settings.output_path = piece.container_path;
    settings.cut_set = piece.start_us != 0 || piece.end_us != 0;
    settings.cut_start_us = piece.start_us;
    settings.cut_end_us = piece.end_us;
    ConvertPipeline pipeline(settings, stopped, progress);
    return pipeline.run(piece.source_path, piece.output_path);
}

}  // namespace kestrel::mediacore
