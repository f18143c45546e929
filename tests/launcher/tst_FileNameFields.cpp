// File names read by the rename format the other way round: which fields each
// token fills, and which names do not fit.

#include "launcher/text/FileNameFields.h"

#include <QTest>

namespace {

// The fields an update fills, "field=value" in record order, or "no fit".
QString filled(const std::optional<TagUpdate> &update)
{
    if (!update)
        return QStringLiteral("no fit");
    QStringList parts;
    const auto text = [&parts](const char *name, const std::optional<QString> &value) {
        if (value)
            parts << QString::fromLatin1(name) + u'=' + *value;
    };
    text("title", update->Title);
    text("artist", update->Artist);
    text("album", update->Album);
    text("year", update->Year);
    text("comment", update->Comment);
    if (update->TrackNumber)
        parts << QStringLiteral("track=%1").arg(*update->TrackNumber);
    if (update->GenreID)
        parts << QStringLiteral("genre=%1").arg(*update->GenreID);
    return parts.join(u' ');
}

}  // namespace

class TestFileNameFields : public QObject
{
    Q_OBJECT

private slots:
    void reading_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("fields");
        QTest::newRow("default format") << "(%K)[%A]%T_%D" << "(山田太郎)[ベスト盤]07_春の風.mp3"
                                        << "title=春の風 artist=山田太郎 album=ベスト盤 track=7";
        QTest::newRow("extension cut at the last dot") << "%D" << "Mr. Blue Sky.mp3" << "title=Mr. Blue Sky";
        QTest::newRow("no extension") << "%D" << "abc" << "title=abc";
        QTest::newRow("first takes least, last the rest") << "%K - %D" << "A - B - C.mp3" << "title=B - C artist=A";
        QTest::newRow("digits whole, no separator") << "%T%D" << "07夜明け.mp3" << "title=夜明け track=7";
        QTest::newRow("%T needs a digit") << "%T_%D" << "_y.mp3" << "no fit";
        QTest::newRow("track 0 fills no track") << "%T_%D" << "0_y.mp3" << "title=y";
        QTest::newRow("track 255") << "%T_%D" << "255_y.mp3" << "title=y track=255";
        QTest::newRow("track 256 fills no track") << "%T_%D" << "256_y.mp3" << "title=y";
        QTest::newRow("%N fills nothing, %Y %C") << "%N %Y %C" << "12 1998 a comment.mp3"
                                                 << "year=1998 comment=a comment";
        QTest::newRow("%N needs a digit") << "%N %D" << "x y.mp3" << "no fit";
        QTest::newRow("genre name in any case") << "%J_%D" << "rock_x.mp3" << "title=x genre=17";
        QTest::newRow("no genre name fills no genre") << "%J_%D" << "Foo_x.mp3" << "title=x";
        QTest::newRow("blanks dropped, empty fills nothing") << "%K-%D-%C" << " A -  - c .mp3" << "artist=A comment=c";
        QTest::newRow("text must match exactly") << "[%D]" << "(x).mp3" << "no fit";
        QTest::newRow("lower-case token is text") << "%d" << "%d.mp3" << "";
    }
    void reading()
    {
        QFETCH(QString, format);
        QFETCH(QString, name);
        QFETCH(QString, fields);
        QCOMPARE(filled(readFileName(format, name)), fields);
    }
};

QTEST_GUILESS_MAIN(TestFileNameFields)
#include "tst_FileNameFields.moc"
