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

}  // namespace

ImageList::ImageList() {
    RegisterPictureResources();
    for (int number = 1; number <= kPictureCount; ++number) {
        pictures_[static_cast<std::size_t>(number)] = QPixmap(PicturePath(number));
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
