#include "id3v2/Id3v2From22.h"

#include "id3v2/Id3v2Frames.h"

namespace {

struct IdPair {
    const char *v22;
    const char *v23;
};

// The frames of 2.2 and their 2.3 names, with the data laid out alike; the
// last ones are frames iTunes writes in 2.2 tags under names of its own.
constexpr IdPair kIds[] = {
    {"BUF", "RBUF"}, {"CNT", "PCNT"}, {"COM", "COMM"}, {"CRA", "AENC"}, {"EQU", "EQUA"}, {"ETC", "ETCO"},
    {"GEO", "GEOB"}, {"IPL", "IPLS"}, {"MCI", "MCDI"}, {"MLL", "MLLT"}, {"PIC", "APIC"}, {"POP", "POPM"},
    {"REV", "RVRB"}, {"RVA", "RVAD"}, {"SLT", "SYLT"}, {"STC", "SYTC"}, {"TAL", "TALB"}, {"TBP", "TBPM"},
    {"TCM", "TCOM"}, {"TCO", "TCON"}, {"TCR", "TCOP"}, {"TDA", "TDAT"}, {"TDY", "TDLY"}, {"TEN", "TENC"},
    {"TFT", "TFLT"}, {"TIM", "TIME"}, {"TKE", "TKEY"}, {"TLA", "TLAN"}, {"TLE", "TLEN"}, {"TMT", "TMED"},
    {"TOA", "TOPE"}, {"TOF", "TOFN"}, {"TOL", "TOLY"}, {"TOR", "TORY"}, {"TOT", "TOAL"}, {"TP1", "TPE1"},
    {"TP2", "TPE2"}, {"TP3", "TPE3"}, {"TP4", "TPE4"}, {"TPA", "TPOS"}, {"TPB", "TPUB"}, {"TRC", "TSRC"},
    {"TRD", "TRDA"}, {"TRK", "TRCK"}, {"TSI", "TSIZ"}, {"TSS", "TSSE"}, {"TT1", "TIT1"}, {"TT2", "TIT2"},
    {"TT3", "TIT3"}, {"TXT", "TEXT"}, {"TXX", "TXXX"}, {"TYE", "TYER"}, {"UFI", "UFID"}, {"ULT", "USLT"},
    {"WAF", "WOAF"}, {"WAR", "WOAR"}, {"WAS", "WOAS"}, {"WCM", "WCOM"}, {"WCP", "WCOP"}, {"WPB", "WPUB"},
    {"WXX", "WXXX"},
    {"TCP", "TCMP"}, {"TST", "TSOT"}, {"TSA", "TSOA"}, {"TSP", "TSOP"}, {"TS2", "TSO2"}, {"TSC", "TSOC"},
    {"GP1", "GRP1"}, {"MVN", "MVNM"}, {"MVI", "MVIN"}, {"PCS", "PCST"}, {"TCT", "TCAT"}, {"TDS", "TDES"},
    {"TID", "TGID"}, {"TKW", "TKWD"}, {"WFD", "WFED"},
};

// The MIME type of a PIC image format: "-->" (a link) stays, the formats
// the 2.2 tag names (JPG, PNG) and any other become "image/" and the format
// in small letters, without the spaces or zero bytes that fill it.
QByteArray mimeTypeOf(QByteArrayView format)
{
    if (format == "-->")
        return format.toByteArray();
    if (format.compare("JPG", Qt::CaseInsensitive) == 0)
        return "image/jpeg";
    QByteArray name = format.toByteArray().toLower();
    while (!name.isEmpty() && (name.back() == ' ' || name.back() == '\0'))
        name.chop(1);
    return "image/" + name;
}

}  // namespace

std::optional<QByteArray> id3v2IdFrom22(QByteArrayView id)
{
    for (const IdPair &pair : kIds) {
        if (id == pair.v22)
            return QByteArray(pair.v23);
    }
    return std::nullopt;
}

std::optional<QByteArray> id3v2FrameFrom22(QByteArrayView id, QByteArrayView data)
{
    const std::optional<QByteArray> id23 = id3v2IdFrom22(id);
    if (!id23)
        return std::nullopt;
    if (id != "PIC")
        return id3v2FrameBytes(3, *id23, data);
    // Text encoding, image format, then picture type, description and image.
    if (data.size() < 5)
        return std::nullopt;
    const QByteArray converted = data.first(1).toByteArray() + mimeTypeOf(data.sliced(1, 3)) + '\0' + data.sliced(4).toByteArray();
    return id3v2FrameBytes(3, *id23, converted);
}
