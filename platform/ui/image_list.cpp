#include "platform/ui/image_list.h"

#include <QPainter>

#include "platform/ui/vb_error.h"

namespace vb {

int ImageList::Add(const QPixmap& picture, const QString& key, int index) {
    if (!key.isEmpty() && Exists(key)) throw VbError(kErrKeyNotUnique, "Key is not unique in collection");
    if (index < 1 || index > Count()) {
        images_.push_back(Image{key, picture, QString()});
        return Count();
    }
    images_.insert(images_.begin() + (index - 1), Image{key, picture, QString()});
    return index;
}

void ImageList::Remove(int index) {
    At(index);
    images_.erase(images_.begin() + (index - 1));
}

void ImageList::Remove(const QString& key) {
    const int i = IndexOf(key);
    if (i == 0) throw VbError(kErrElementNotFound, "Element not found");
    Remove(i);
}

int ImageList::IndexOf(const QString& key) const {
    if (key.isEmpty()) return 0;
    for (std::size_t i = 0; i < images_.size(); ++i) {
        if (images_[i].key.compare(key, Qt::CaseInsensitive) == 0) return static_cast<int>(i) + 1;
    }
    return 0;
}

const ImageList::Image& ImageList::At(int index) const {
    if (index < 1 || index > Count()) throw VbError(kErrIndexOutOfBounds, "Index out of bounds");
    return images_[static_cast<std::size_t>(index - 1)];
}

const QPixmap& ImageList::Picture(int index) const { return At(index).picture; }

const QPixmap& ImageList::Picture(const QString& key) const {
    const int i = IndexOf(key);
    if (i == 0) throw VbError(kErrElementNotFound, "Element not found");
    return Picture(i);
}

QString ImageList::Key(int index) const { return At(index).key; }
QString ImageList::Tag(int index) const { return At(index).tag; }

void ImageList::SetTag(int index, const QString& tag) {
    At(index);
    images_[static_cast<std::size_t>(index - 1)].tag = tag;
}

QIcon ImageList::Icon(int index) const { return QIcon(Picture(index)); }
QIcon ImageList::Icon(const QString& key) const { return QIcon(Picture(key)); }

QPixmap ImageList::Overlay(int base, int top) const {
    QPixmap out = Picture(base).copy();
    QPainter p(&out);
    p.drawPixmap(0, 0, Picture(top));
    return out;
}

}  // namespace vb
