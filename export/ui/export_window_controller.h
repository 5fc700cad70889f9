#pragma once
// The export dialog with the output folder: the owner's Start/Stop block, the folder row, three
// option boxes (re-encode, merge all into one, graphics processor) and the progress row.
#include "export/ui/export_dialog_base.h"

namespace exportkit {

class ExportWindowController : public ExportDialogBase {
    Q_OBJECT
public:
    explicit ExportWindowController(QWidget* parent = nullptr);

    bool isMergeAllIntoOne() const { return isMergeAllIntoOne_; }
    void setIsMergeAllIntoOne(bool merge) { isMergeAllIntoOne_ = merge; }
    bool hiddenMergeAllIntoOne() const { return hiddenMergeAllIntoOne_; }
    // Set before the window loads: hides the merge box and moves the progress row up.
    void setHiddenMergeAllIntoOne(bool hidden) { hiddenMergeAllIntoOne_ = hidden; }
    // Set before the window loads by an owner whose job has no codec choice: hides the
    // re-encode and graphics-processor boxes.
    void setHiddenEncodingOptions(bool hidden) { hiddenEncodingOptions_ = hidden; }
    bool hiddenEncodingOptions() const { return hiddenEncodingOptions_; }

    // Not exporting: proposes "<date name>.<input extension>" (numbered when taken) in the
    // folder, makes the folder when missing, and hands the path to the owner. Exporting: asks
    // whether to stop, then sends the stop request.
    void startExport() override;

    // The re-encode box: the owner's job copies no packet when it is ticked.
    bool reEncoding() const;

    // Answers whether a hardware encoder works here; installed once by the application. The
    // graphics-processor box is enabled only when it answers yes, and says why when not.
    using HardwareProbe = std::function<bool()>;
    static void setHardwareEncodingProbe(HardwareProbe probe);

    void changeLanguage() override;

    kestrel::widgets::ZorButton* reEncodingBtn = nullptr;
    kestrel::widgets::ZorButton* mergeAllIntoOne = nullptr;
    kestrel::widgets::ZorButton* enableGpuBtn = nullptr;

protected:
    void buildOwnViews() override;
    // Also sizes the option boxes to their titles and flows them along the field column.
    void layoutCaptionColumn() override;

private:
    // Sizes the shown boxes to their titles and flows them from x = left; returns the rows used.
    int layoutOptionBoxes(int left);

    bool hardwareEncoding_ = false;
    bool isMergeAllIntoOne_ = false;
    bool hiddenMergeAllIntoOne_ = true;
    bool hiddenEncodingOptions_ = false;
};

}  // namespace exportkit
