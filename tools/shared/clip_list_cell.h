#pragma once
// One row of the clip list: a job record's thumbnail, file name, source duration, frame size
// and file size, and the length of its marked range; optionally a reference-format check box
// and a transition button (the joiner's), and a progress bar the batch tools show while the
// row's file is worked on. The row does not own its record: edits go straight into it.
#include <QColor>
#include <QStringList>
#include <QWidget>
#include <functional>

#include "model/simple_data.h"
#include "widgets/menu_item_view.h"

class QLabel;
class QMenu;

namespace kestrel::widgets {
class NSProgressView;
class ZorButton;
class ZorImageView;
}  // namespace kestrel::widgets

namespace kestrel::tools::shared {

class InsetButton;

// Transitions into the next clip, equal to the transition menu's rows.
enum class Transition : int32_t { None = 0, Left = 1, Top = 2, FadeOut = 3 };
inline constexpr int kTransitionCount = 4;
// The localisation keys of the transition names, in transition order.
QStringList transitionTitleKeys();

// The size text of the row: "%.1lfMB" of megabytes, "KB" or "B" for smaller files.
QString fileSizeText(double megabytes);

class ClipListCell : public QWidget, public kestrel::widgets::MenuItemViewDelegate {
    Q_OBJECT
public:
    using CellBlock = std::function<void(ClipListCell*)>;
    using SelectedBlock = std::function<void(ClipListCell*, bool)>;

    ClipListCell(const QRect& frame, QWidget* parent = nullptr);

    const kestrel::model::SimpleDataPtr& fileData() const { return fileData_; }
    // Fills the row from the record (null shows an empty row).
    void setFileData(const kestrel::model::SimpleDataPtr& record);

    qint64 index() const { return index_; }
    void setIndex(qint64 v) { index_ = v; }

    bool selected() const { return selected_; }
    // Stores the flag, reports it through the selected block, redraws.
    void setSelected(bool selected);
    // Stores the flag only (no report): the highlight the record asks for.
    void setSelectedLook(bool selected);

    // Whether presses on the row are taken.
    bool rowEnabled() const { return rowEnabled_; }
    void setRowEnabled(bool v);

    void setSelectedBackgroundColor(const QColor& c) { selectedColor_ = c; update(); }
    void setNormalBackgroundColor(const QColor& c) { normalColor_ = c; update(); }

    // Reference-format check box and transition button; hidden ones are never shown by a refill.
    void setReferenceBoxAvailable(bool available);
    void setTransitionButtonAvailable(bool available);
    bool referenceChecked() const;
    void setReferenceChecked(bool checked);
    // The menu row last chosen in this row (0 at creation).
    int menuIndex() const { return menuIndex_; }
    // Chooses a transition as the menu would: writes it into the record and reports it.
    void chooseTransition(int transition);
    // MenuItemViewDelegate: a row of the transition menu was clicked.
    void menuClicked(kestrel::widgets::MenuItemView* view, qint64 index) override;

    // Progress bar of this row.
    void setProgressVisible(bool visible);
    bool progressVisible() const;
    void setProgress(float fraction);
    float progress() const;

    // Re-reads the localised captions.
    void retranslate();

    void setMouseDownBlock(CellBlock b) { mouseDownBlock_ = std::move(b); }
    void setSelectedBlock(SelectedBlock b) { selectedBlock_ = std::move(b); }
    void setReferenceClickedBlock(CellBlock b) { referenceClickedBlock_ = std::move(b); }
    void setTransitionChosenBlock(CellBlock b) { transitionChosenBlock_ = std::move(b); }

    // Parts, for owners and tests.
    QLabel* nameLabel() const { return nameLabel_; }
    QLabel* durationLabel() const { return durationLabel_; }
    QLabel* frameLabel() const { return frameLabel_; }
    QLabel* sizeLabel() const { return sizeLabel_; }
    QLabel* cutLengthLabel() const { return cutLengthLabel_; }
    kestrel::widgets::ZorImageView* thumbnailView() const { return thumbView_; }
    kestrel::widgets::ZorButton* referenceBox() const { return referenceBox_; }
    InsetButton* transitionButton() const { return transitionButton_; }
    kestrel::widgets::NSProgressView* progressBar() const { return progressBar_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutParts();
    void showTransitionMenu();
    QString transitionTitle(int transition) const;

    kestrel::model::SimpleDataPtr fileData_;
    qint64 index_ = 0;
    bool selected_ = false;
    bool rowEnabled_ = true;
    bool referenceAvailable_ = true;
    bool transitionAvailable_ = true;
    int menuIndex_ = 0;
    QColor selectedColor_, normalColor_;
    QStringList effectTitles_;

    kestrel::widgets::ZorImageView* thumbView_ = nullptr;
    QLabel* nameLabel_ = nullptr;
    QLabel* sourceCaption_ = nullptr;
    QLabel* durationLabel_ = nullptr;
    QLabel* frameLabel_ = nullptr;
    QLabel* sizeLabel_ = nullptr;
    QLabel* cutCaption_ = nullptr;
    QLabel* cutLengthLabel_ = nullptr;
    kestrel::widgets::ZorButton* referenceBox_ = nullptr;
    InsetButton* transitionButton_ = nullptr;
    kestrel::widgets::NSProgressView* progressBar_ = nullptr;

    CellBlock mouseDownBlock_, referenceClickedBlock_, transitionChosenBlock_;
    SelectedBlock selectedBlock_;
};

}  // namespace kestrel::tools::shared
