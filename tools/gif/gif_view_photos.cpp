// The GIF maker view's photo list: adding pictures and the pictures of a folder (in the order
// the files were made), copying, deleting and clearing, reordering by dragging, and the preview
// moved to the photo selected. The size of the GIF comes from the first photo only when the list
// was empty; a size the user typed stays through every later change.
#include <QLabel>
#include <algorithm>

#include "session/media/gif_media_info.h"
#include "session/preview/gif_preview.h"
#include "tools/gif/gif_photo_grid.h"
#include "tools/gif/gif_photo_list.h"
#include "tools/gif/gif_view_controller.h"
#include "tools/gif/gif_view_support.h"
#include "widgets/dialogs/open_panel.h"
#include "widgets/zor_button.h"

namespace gif {

namespace rules = kestrel::tools::gif;
namespace session = kestrel::session;
using namespace detail;

void GIFViewController::addPhotosAction() {
    endEditing();
    kestrel::widgets::OpenPanelRequest request = kestrel::widgets::standardOpenPanelRequest();
    request.allowedFileTypes = rules::photoFileTypes();
    request.allowsMultipleSelection = true;
    addChosenPhotos(kestrel::widgets::runOpenPanel(request));
}

void GIFViewController::addFolderAction() {
    endEditing();
    kestrel::widgets::OpenPanelRequest request = kestrel::widgets::standardOpenPanelRequest();
    request.chooseFolders = true;
    addChosenPhotos(kestrel::widgets::runOpenPanel(request));
}

void GIFViewController::addChosenPhotos(const QStringList& chosen) {
    const QStringList photos = rules::photosOfChoice(chosen);
    if (!photos.isEmpty()) {
        const bool first = files_.isEmpty();
        files_ += photos;
        if (first) {
            // The first photo decides the GIF's shape, once.
            const session::GifMediaInfo info = session::probeGifMedia(files_.first());
            rules::initialPhotoSize(info.width, info.height, &photoWidth_, &photoHeight_);
            refreshOutputFields();
        }
    }
    photosChanged(selectedPhoto_ >= 0 && selectedPhoto_ < files_.size() ? selectedPhoto_ : (files_.isEmpty() ? -1 : 0));
}

void GIFViewController::copyPhotosAction() {
    if (selectedPhoto_ < 0 || selectedPhoto_ >= files_.size()) return;
    // The copy goes right before the photo and is the one selected.
    files_.insert(selectedPhoto_, files_.at(selectedPhoto_));
    photosChanged(selectedPhoto_);
}

void GIFViewController::deletePhotosAction() {
    if (selectedPhoto_ < 0 || selectedPhoto_ >= files_.size()) return;
    files_.removeAt(selectedPhoto_);
    photosChanged(files_.isEmpty() ? -1 : std::min(selectedPhoto_, int(files_.size()) - 1));
}

void GIFViewController::clearPhotosAction() {
    files_.clear();
    photosChanged(-1);
}

void GIFViewController::photoMoved(int from, int to) {
    if (from < 0 || from >= files_.size() || to < 0 || to >= files_.size() || from == to) return;
    files_.move(from, to);
    photosChanged(to);
}

void GIFViewController::photoPressed(int index) {
    selectedPhoto_ = index;
    pastePhotosBtn->setEnabled(true);
    deletePhotosBtn->setEnabled(true);
    seekToSelectedPhoto();
}

void GIFViewController::photosChanged(int selected) {
    selectedPhoto_ = selected;
    photoListView->setPhotos(files_, selected);
    const bool any = !files_.isEmpty();
    fileShowMessageView->setVisible(mode_ == Mode::PhotosToGif && !any);
    clearPhotosBtn->setEnabled(any);
    pastePhotosBtn->setEnabled(selected >= 0);
    deletePhotosBtn->setEnabled(selected >= 0);
    if (mode_ != Mode::PhotosToGif) return;
    stopAction();
    initGifPlayer();
    seekToSelectedPhoto();
}

void GIFViewController::seekToSelectedPhoto() {
    // The preview shows the photo selected: its slot starts at index / fps.
    if (mode_ != Mode::PhotosToGif || selectedPhoto_ < 0) return;
    const int64_t at = int64_t(double(selectedPhoto_) / ptoGifFps_ * 1e6);
    preview_->seek(at);
    showPosition(at);
}

}  // namespace gif
