// Genre names by number, as the list and the editor show them.

#include "tagfiles/classID3_V11.h"

#include <QTest>

namespace {

// The names of numbers 0 to 147, written out apart from the program's own
// table, so a misspelt or misplaced name shows.
const QStringList kNames = QStringLiteral(
    "Blues|Classic Rock|Country|Dance|Disco|Funk|Grunge|Hip-Hop|Jazz|Metal|"
    "New Age|Oldies|Other|Pop|R&B|Rap|Reggae|Rock|Techno|Industrial|"
    "Alternative|Ska|Death Metal|Pranks|Soundtrack|Euro-Techno|Ambient|Trip-Hop|Vocal|Jazz+Funk|"
    "Fusion|Trance|Classical|Instrumental|Acid|House|Game|Sound Clip|Gospel|Noise|"
    "AlternRock|Bass|Soul|Punk|Space|Meditative|Instrumental Pop|Instrumental Rock|Ethnic|Gothic|"
    "Darkwave|Techno-Industrial|Electronic|Pop-Folk|Eurodance|Dream|Southern Rock|Comedy|Cult|Gangsta|"
    "Top 40|Christian Rap|Pop/Funk|Jungle|Native American|Cabaret|New Wave|Psychadelic|Rave|Showtunes|"
    "Trailer|Lo-Fi|Tribal|Acid Punk|Acid Jazz|Polka|Retro|Musical|Rock & Roll|Hard Rock|"
    "Folk|Folk/Rock|National Folk|Swing|Fast-Fusion|Bebob|Latin|Revival|Celtic|Bluegrass|"
    "Avantgarde|Gothic Rock|Progressive Rock|Psychedelic Rock|Symphonic Rock|Slow Rock|Big Band|Chorus|"
    "Easy Listening|Acoustic|"
    "Humour|Speech|Chanson|Opera|Chamber Music|Sonata|Symphony|Booty Bass|Primus|Porn Groove|"
    "Satire|Slow Jam|Club|Tango|Samba|Folklore|Ballad|Power Ballad|Phythmic Soul|Freestyle|"
    "Duet|Punk Rock|Drum Solo|A Cappella|Euro-House|Dance Hall|Goa|Drum & Bass|Club-House|Hardcore|"
    "Terror|Indie|BritPop|Negerpunk|Polsk Punk|Beat|Christian Gangsta Rap|Heavy Metal|Black Metal|Crossover|"
    "Contemporary Christian|Christian Rock|Merengue|Salsa|Thrash Metal|Anime|JPop|Synthpop")
                                .split(u'|');

}  // namespace

class TestGenreTable : public QObject
{
    Q_OBJECT

private slots:
    void everyNumberHasItsName()
    {
        QCOMPARE(kNames.size(), 148);
        for (int id = -1; id <= 256; ++id)
            QCOMPARE(classID3_V11::GetGenreString(static_cast<qint16>(id)), kNames.value(id));
        for (int id : {-32768, 32767})
            QVERIFY(classID3_V11::GetGenreString(static_cast<qint16>(id)).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestGenreTable)
#include "tst_GenreTable.moc"
