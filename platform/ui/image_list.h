#pragma once
// A keyed, 1-based list of pictures that controls take their icons from.
// Keys are compared without regard to case: callers name pictures in any case.
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <vector>

namespace vb {

class ImageList {
public:
    // Adds a picture at the 1-based index (appended when index < 1); returns
    // its index. A key already present raises 35602.
    int Add(const QPixmap& picture, const QString& key = QString(), int index = 0);
    void Remove(int index);
    void Remove(const QString& key);
    void Clear() { images_.clear(); }
    int Count() const { return static_cast<int>(images_.size()); }
    bool Exists(const QString& key) const { return IndexOf(key) != 0; }
    // 0 when no image has the key.
    int IndexOf(const QString& key) const;

    // Unknown indexes and keys raise 35600 / 35601.
    const QPixmap& Picture(int index) const;
    const QPixmap& Picture(const QString& key) const;
    QString Key(int index) const;
    QString Tag(int index) const;
    void SetTag(int index, const QString& tag);
    // The picture with a disabled look added, for controls that grey it.
    QIcon Icon(int index) const;
    QIcon Icon(const QString& key) const;

    // Image `top` drawn over image `base` (transparent parts show the base).
    QPixmap Overlay(int base, int top) const;

private:
    struct Image {
        QString key;
        QPixmap picture;
        QString tag;
    };
    const Image& At(int index) const;

    std::vector<Image> images_;
};

}  // namespace vb
