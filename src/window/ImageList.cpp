// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/ImageList.h"

#include <QString>

// The pictures are compiled into this static library; their resource must be
// registered by name, outside any namespace.
static void RegisterPictureResources() {
    Q_INIT_RESOURCE(Pictures);
}

namespace versemark {
namespace {

QString PicturePath(int number) {
    return QStringLiteral(":/versemark/pictures/%1.png").arg(number);
}

// Whole multiples keep the pixels sharp; other factors are smoothed.
QPixmap Scaled(const QPixmap& picture, qreal scale) {
    const int size = qRound(kPictureSize * scale);
    if (size == kPictureSize || size <= 0) {
        return picture;
    }
    const bool whole = size % kPictureSize == 0;
    return picture.scaled(size, size, Qt::IgnoreAspectRatio,
                          whole ? Qt::FastTransformation : Qt::SmoothTransformation);
}

}  // namespace

ImageList::ImageList(qreal scale) {
    RegisterPictureResources();
    for (int number = 1; number <= kPictureCount; ++number) {
        pictures_[static_cast<std::size_t>(number)] = Scaled(QPixmap(PicturePath(number)), scale);
    }
    windowIcon_ = QIcon(QStringLiteral(":/versemark/pictures/versemark.png"));
}

const QPixmap& ImageList::Picture(int number) const {
    if (number < 1 || number > kPictureCount) {
        return pictures_[0];
    }
    return pictures_[static_cast<std::size_t>(number)];
}

}  // namespace versemark
