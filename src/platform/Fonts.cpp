#include "platform/Fonts.h"

#include <QStringList>

void registerFontSubstitutes()
{
    QFont::insertSubstitutions(kGothicFontFamily, {
                                                      QStringLiteral("IPAGothic"),
                                                      QStringLiteral("IPAexGothic"),
                                                      QStringLiteral("Noto Sans CJK JP"),
                                                      QStringLiteral("Noto Sans Mono CJK JP"),
                                                      QStringLiteral("VL Gothic"),
                                                      QStringLiteral("TakaoGothic"),
                                                  });
}

QFont gothicFont(qreal pointSize, bool bold, bool italic)
{
    QFont font(kGothicFontFamily);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}
