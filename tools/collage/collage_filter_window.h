#pragma once
// The filter window: the built-in filters and those of the downloadable catalogue as a grid of
// thumbnails, over a preview of the collage with the filter being looked at. Choosing a downloaded filter fetches its table once into the filters cache; OK
// hands the chosen table and name back, Cancel or closing changes nothing.
#include "session/edit/collage_composition.h"
#include "tools/collage/filter_catalogue.h"

#include <QWidget>
#include <functional>
#include <map>
#include <memory>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace services {
class DownloadManager;
}

namespace kestrel::tools::collage {

class FilterPreviewPanel;

class CollageFilterWindow : public QWidget {
    Q_OBJECT
public:
    using Result = std::function<void(const QString& tablePath, const QString& name)>;
    // spec: the collage as it stands, previewed at previewWidth x previewHeight.
    CollageFilterWindow(const session::CollageSpec& spec, int previewWidth, int previewHeight, Result result,
                        QWidget* parent = nullptr);
    ~CollageFilterWindow() override;

    FilterPreviewPanel* previewPanel = nullptr;
    QListWidget* list = nullptr;
    QLabel* statusLabel = nullptr;
    QPushButton* okBtn = nullptr;
    QPushButton* cancelBtn = nullptr;

    const QList<FilterEntry>& entries() const { return entries_; }
    const QString& chosenTable() const { return chosenTable_; }
    int downloadsRunning() const { return downloadsRunning_; }
    bool catalogueLoading() const { return catalogueLoading_; }

    // A click on entry i: chooses it, downloading its table first when needed.
    void chooseEntry(int index);

private:
    void showEntries();
    void fetchCatalogue();
    void catalogueArrived(const QString& file);
    void downloadTable(int index);
    void tableArrived(const QString& id, const QString& file);
    void downloadFailed(const QString& id);
    void fetchCover(const FilterEntry& entry);
    void setChosen(int index);
    int indexOf(const QString& id) const;

    QList<FilterEntry> entries_;
    QString chosenTable_, chosenName_;
    Result result_;
    int downloadsRunning_ = 0;
    bool catalogueLoading_ = false;
    std::unique_ptr<services::DownloadManager> catalogueDownload_;
    std::map<QString, std::unique_ptr<services::DownloadManager>> downloads_;  // by cache file
};

}  // namespace kestrel::tools::collage
