#pragma once
// The cell trim window: the used part of a video cell (start and end), the crop of the cell's
// picture drawn with the editor's crop overlay, and the cell's volume. OK hands the result back
// for the cell it was opened for; Cancel or closing changes nothing.
#include "session/edit/collage_composition.h"

#include <QWidget>
#include <functional>

class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSlider;

namespace kestrel::editor {
class RDUICliper;
}

namespace kestrel::tools::collage {

class CollageTrimWindow : public QWidget {
    Q_OBJECT
public:
    using Result = std::function<void(int64_t start_us, int64_t duration_us, const session::CellEdges& crop, float volume)>;
    CollageTrimWindow(const session::CollageCell& cell, const session::CellEdges& crop, Result result,
                      QWidget* parent = nullptr);

    QDoubleSpinBox* startBox = nullptr;
    QDoubleSpinBox* endBox = nullptr;
    QSlider* volumeSlider = nullptr;
    QPushButton* okBtn = nullptr;
    QPushButton* cancelBtn = nullptr;
    editor::RDUICliper* cliper() const { return cliper_; }
    // The crop as the overlay shows it, from the top-left corner.
    session::CellEdges currentCrop() const;

private:
    void buildPicture(const session::CollageCell& cell, const session::CellEdges& crop);

    QLabel* picture_ = nullptr;
    editor::RDUICliper* cliper_ = nullptr;
    Result result_;
};

}  // namespace kestrel::tools::collage
