#include "qt/bitmap_resource.h"

#include <QString>

QPixmap bitmapResource(const char* name) {
    return QPixmap(QStringLiteral(":/bitmaps/%1.xpm").arg(QLatin1String(name)));
}
