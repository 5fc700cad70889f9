#include "tools/collage/collage_filter_window.h"
#include "tools/collage/filter_preview_panel.h"

#include "services/download_manager.h"
#include "services/language.h"
#include "session/edit/collage_composition.h"
#include "widgets/dialogs/dark_look.h"
#include "widgets/tool_window.h"

#include <QBoxLayout>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSaveFile>

namespace kestrel::tools::collage {

namespace {

using services::localized;

// Copies a finished download into the cache whole or not at all.
bool copyWhole(const QString& from, const QString& to) {
    QFile in(from);
    if (to.isEmpty() || !in.open(QIODevice::ReadOnly)) return false;
    QSaveFile out(to);
    if (!out.open(QIODevice::WriteOnly)) return false;
    if (out.write(in.readAll()) < 0) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

}  // namespace

CollageFilterWindow::CollageFilterWindow(const session::CollageSpec& spec, int previewWidth, int previewHeight,
                                         Result result, QWidget* parent)
    : QWidget(parent, Qt::Window), chosenTable_(spec.lookupPath), result_(std::move(result)) {
    setObjectName(QStringLiteral("collageFilterWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    widgets::applyToolWindowLook(this);
    setWindowTitle(localized(QStringLiteral("Collage_FilterTitle")));
    resize(720, 700);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(16, 16, 16, 16);
    previewPanel = new FilterPreviewPanel(spec, previewWidth, previewHeight, this);
    v->addWidget(previewPanel);
    list = new QListWidget(this);
    list->setViewMode(QListView::IconMode);
    list->setMovement(QListView::Static);
    list->setResizeMode(QListView::Adjust);
    list->setIconSize(QSize(100, 56));
    list->setGridSize(QSize(124, 96));
    list->setWordWrap(true);
    list->setStyleSheet(QStringLiteral(
        "QListWidget { background: rgb(26, 30, 37); border: 1px solid rgb(58, 65, 77); border-radius: 3px; color: rgb(205, 214, 221); }"
        "QListWidget::item:selected { background: rgb(44, 50, 61); border: 2px solid rgb(96, 222, 208); }"));
    connect(list, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { chooseEntry(list->row(item)); });
    v->addWidget(list, 1);
    statusLabel = new QLabel(this);
    statusLabel->setWordWrap(true);
    v->addWidget(statusLabel);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    cancelBtn = new QPushButton(localized(QStringLiteral("Cancel")), this);
    okBtn = new QPushButton(localized(QStringLiteral("OK")), this);
    buttons->addWidget(cancelBtn);
    buttons->addWidget(okBtn);
    v->addLayout(buttons);
    connect(cancelBtn, &QPushButton::clicked, this, &QWidget::close);
    connect(okBtn, &QPushButton::clicked, this, [this] {
        if (result_ && !chosenTable_.isEmpty()) result_(chosenTable_, chosenName_);
        close();
    });

    entries_ = builtInFilters();
    entries_ += cachedCatalogue();
    showEntries();
    fetchCatalogue();
    widgets::applyTextDirection(this);
}

CollageFilterWindow::~CollageFilterWindow() = default;

int CollageFilterWindow::indexOf(const QString& id) const {
    for (int i = 0; i < entries_.size(); ++i)
        if (entries_[i].id == id) return i;
    return -1;
}

void CollageFilterWindow::showEntries() {
    list->clear();
    for (int i = 0; i < entries_.size(); ++i) {
        const FilterEntry& entry = entries_[i];
        QPixmap cover(entry.coverPath);
        if (cover.isNull()) {
            cover = QPixmap(100, 56);
            cover.fill(QColor(34, 39, 48));
        }
        auto* item = new QListWidgetItem(QIcon(cover.scaled(100, 56, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)),
                                         entry.name, list);
        item->setToolTip(entry.name);
        if (!entry.tablePath.isEmpty() && entry.tablePath == chosenTable_) {
            item->setSelected(true);
            chosenName_ = entry.name;
        }
        if (!entry.builtIn && entry.coverPath.isEmpty()) fetchCover(entry);
    }
}

void CollageFilterWindow::fetchCatalogue() {
    const QString address = catalogueAddress();
    if (address.isEmpty()) return;
    catalogueLoading_ = true;
    statusLabel->setText(localized(QStringLiteral("Collage_FilterLoading")));
    catalogueDownload_ = std::make_unique<services::DownloadManager>();
    catalogueDownload_->setMaximumBytes(kMaximumCatalogueBytes);
    catalogueDownload_->setComplatedBlock([this](const QString& file) { catalogueArrived(file); });
    catalogueDownload_->setFailedBlock([this](const QString& reason) {
        qWarning() << "filter catalogue:" << reason;
        catalogueLoading_ = false;
        statusLabel->setText(localized(QStringLiteral("Collage_FilterOffline")));
    });
    catalogueDownload_->download(address);
}

void CollageFilterWindow::catalogueArrived(const QString& file) {
    catalogueLoading_ = false;
    QFile in(file);
    const QByteArray document = in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    const QList<FilterEntry> fetched = parseCatalogue(document);
    if (fetched.isEmpty()) {
        statusLabel->setText(localized(QStringLiteral("Collage_FilterOffline")));
        return;
    }
    statusLabel->clear();
    copyWhole(file, catalogueCachePath());
    entries_ = builtInFilters() + fetched;
    showEntries();
}

void CollageFilterWindow::fetchCover(const FilterEntry& entry) {
    const QString target = cachedCoverPath(entry.coverAddress);
    if (entry.coverAddress.isEmpty() || target.isEmpty() || downloads_.count(target)) return;
    auto manager = std::make_unique<services::DownloadManager>();
    manager->setMaximumBytes(kMaximumCoverBytes);
    const QString id = entry.id;
    manager->setComplatedBlock([this, id, target](const QString& file) {
        if (!copyWhole(file, target)) return;
        const int i = indexOf(id);
        if (i < 0) return;
        entries_[i].coverPath = target;
        if (QListWidgetItem* item = list->item(i)) {
            QPixmap cover(target);
            if (!cover.isNull()) item->setIcon(QIcon(cover.scaled(100, 56, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
        }
    });
    manager->download(entry.coverAddress);
    downloads_[target] = std::move(manager);
}

void CollageFilterWindow::chooseEntry(int index) {
    if (index < 0 || index >= entries_.size()) return;
    if (!entries_[index].tablePath.isEmpty()) {
        setChosen(index);
        return;
    }
    downloadTable(index);
}

void CollageFilterWindow::downloadTable(int index) {
    const FilterEntry& entry = entries_[index];
    const QString target = cachedTablePath(entry.tableAddress);
    if (target.isEmpty()) return;
    auto it = downloads_.find(target);
    if (it != downloads_.end() && it->second->isDownloading()) return;  // one download per filter
    auto manager = std::make_unique<services::DownloadManager>();
    manager->setMaximumBytes(kMaximumTableBytes);
    const QString id = entry.id;
    manager->setComplatedBlock([this, id](const QString& file) { tableArrived(id, file); });
    manager->setFailedBlock([this, id](const QString& reason) {
        qWarning() << "filter download:" << reason;
        downloadFailed(id);
    });
    ++downloadsRunning_;
    if (QListWidgetItem* item = list->item(index)) item->setText(entry.name + QStringLiteral(" …"));
    manager->download(entry.tableAddress);
    downloads_[target] = std::move(manager);
}

void CollageFilterWindow::tableArrived(const QString& id, const QString& file) {
    --downloadsRunning_;
    const int i = indexOf(id);
    if (i < 0) return;
    if (QListWidgetItem* item = list->item(i)) item->setText(entries_[i].name);
    const QString target = cachedTablePath(entries_[i].tableAddress);
    // A table the engine could not apply is never kept: the filter is offered again.
    if (!session::isUsableLookupTable(file) || !copyWhole(file, target)) {
        statusLabel->setText(localized(QStringLiteral("Collage_FilterUnusable")).arg(entries_[i].name));
        return;
    }
    entries_[i].tablePath = target;
    // With several downloads running, the last one to finish is chosen.
    if (downloadsRunning_ == 0) setChosen(i);
}

void CollageFilterWindow::downloadFailed(const QString& id) {
    --downloadsRunning_;
    const int i = indexOf(id);
    if (i < 0) return;
    if (QListWidgetItem* item = list->item(i)) item->setText(entries_[i].name);
    statusLabel->setText(localized(QStringLiteral("Collage_FilterDownloadFailed")).arg(entries_[i].name));
}

void CollageFilterWindow::setChosen(int index) {
    chosenTable_ = entries_[index].tablePath;
    chosenName_ = entries_[index].name;
    list->setCurrentRow(index);
    if (QListWidgetItem* item = list->item(index)) item->setSelected(true);
    previewPanel->showTable(chosenTable_);
}

}  // namespace kestrel::tools::collage
