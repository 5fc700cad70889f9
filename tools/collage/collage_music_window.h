#pragma once
// The background music's trim window: the used part of the music file. OK hands it back; the
// music plays from the collage's start and never past its end.
#include <QWidget>
#include <cstdint>
#include <functional>

class QDoubleSpinBox;
class QLabel;
class QPushButton;

namespace kestrel::tools::collage {

class CollageMusicWindow : public QWidget {
    Q_OBJECT
public:
    using Result = std::function<void(int64_t start_us, int64_t duration_us)>;
    // duration_us: the file's length; used_*: the part now used (duration 0: to the end).
    CollageMusicWindow(const QString& path, int64_t duration_us, int64_t used_start_us, int64_t used_duration_us,
                       Result result, QWidget* parent = nullptr);

    QDoubleSpinBox* startBox = nullptr;
    QDoubleSpinBox* endBox = nullptr;
    QPushButton* okBtn = nullptr;
    QPushButton* cancelBtn = nullptr;

private:
    Result result_;
};

}  // namespace kestrel::tools::collage
