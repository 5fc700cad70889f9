#pragma once
// The filter window's own preview: the collage as it stands, with the filter being looked at
// applied, played and stopped with its buttons and sought on its position slider (whole
// seconds). Another filter shows in the playing preview from where it was.
#include "session/edit/collage_composition.h"

#include <QWidget>
#include <memory>

class QLabel;
class QSlider;
class QTimer;

namespace kestrel::session {
class CollagePreview;
}
namespace kestrel::widgets {
class ZorButton;
}

namespace kestrel::tools::collage {

class FilterPreviewPanel : public QWidget {
    Q_OBJECT
public:
    // spec: the collage as the window has it; width x height: the preview's picture size.
    FilterPreviewPanel(session::CollageSpec spec, int width, int height, QWidget* parent = nullptr);
    ~FilterPreviewPanel() override;

    // Shows the collage through this look-up table (empty: no filter).
    void showTable(const QString& tablePath);

    QWidget* pictureArea = nullptr;
    widgets::ZorButton* playBtn = nullptr;
    widgets::ZorButton* stopBtn = nullptr;
    QSlider* positionSlider = nullptr;
    QLabel* timeLabel = nullptr;
    session::CollagePreview* preview() const { return preview_.get(); }

private:
    void togglePlay();
    void stop();
    void showPosition(int64_t position_us);
    void showTransport();

    session::CollageSpec spec_;
    std::unique_ptr<session::CollagePreview> preview_;
    QTimer* timer_ = nullptr;
};

}  // namespace kestrel::tools::collage
