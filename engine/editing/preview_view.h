#pragma once
// The preview view: shows the latest composited picture, fitted into the view with its
// aspect kept over black.
#include <QImage>
#include <QMutex>
#include <QWidget>

namespace kestrel::editing {

class PreviewView : public QWidget {
    Q_OBJECT
public:
    explicit PreviewView(QWidget* parent = nullptr);
    // Thread-safe: stores the picture and asks for a repaint on the main thread.
    void setPicture(QImage picture);
    QImage picture() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    mutable QMutex mutex_;
    QImage picture_;
};

}  // namespace kestrel::editing
