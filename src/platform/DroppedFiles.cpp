#include "platform/DroppedFiles.h"

#include "files/NativePath.h"

#include <QDropEvent>
#include <QMimeData>

#include <optional>

namespace {

// The path bytes of a local file's URI: "file:///path", "file://localhost/path"
// or "file:/path", percent-decoded by hand, since QUrl would read the bytes
// as UTF-8 and lose those that are not. Nothing for any other URI, or for a
// path holding a zero byte, which would cut it short on its way to the system.
std::optional<QByteArray> localFileBytes(QByteArrayView uri)
{
    if (uri.size() < 5 || QByteArrayView(uri.first(5)).compare("file:", Qt::CaseInsensitive) != 0)
        return std::nullopt;
    QByteArrayView path = uri.sliced(5);
    if (path.startsWith("//")) {
        const qsizetype slash = path.indexOf('/', 2);
        const QByteArrayView host = path.sliced(2, (slash < 0 ? path.size() : slash) - 2);
        if (slash < 0 || !(host.isEmpty() || host.compare("localhost", Qt::CaseInsensitive) == 0))
            return std::nullopt;
        path = path.sliced(slash);
    }
    // A query or a fragment is no part of the path; a "?" or "#" in a name
    // comes percent-encoded.
    for (const char end : {'?', '#'}) {
        if (const qsizetype at = path.indexOf(end); at >= 0)
            path = path.first(at);
    }
    const QByteArray bytes = QByteArray::fromPercentEncoding(path.toByteArray());
    if (!bytes.startsWith('/') || bytes.contains('\0'))
        return std::nullopt;
    return bytes;
}

}  // namespace

QStringList droppedLocalFiles(const QMimeData *data, qsizetype maxFiles)
{
    QStringList paths;
    if (!data)
        return paths;
    // One URI a line, lines ending in CR LF; "#" starts a comment line.
    const QByteArray list = data->data(QStringLiteral("text/uri-list"));
    for (qsizetype start = 0; start < list.size() && paths.size() < maxFiles;) {
        const qsizetype lineFeed = list.indexOf('\n', start);
        const qsizetype end = lineFeed < 0 ? list.size() : lineFeed;
        const QByteArrayView uri = QByteArrayView(list).sliced(start, end - start).trimmed();
        start = end + 1;
        if (uri.startsWith('#'))
            continue;
        if (const std::optional<QByteArray> bytes = localFileBytes(uri))
            paths << pathText(*bytes);
    }
    return paths;
}

QStringList acceptLocalFileDrag(QDropEvent *event)
{
    const QStringList paths = droppedLocalFiles(event->mimeData(), event->type() == QEvent::Drop ? kMaxDroppedFiles : 1);
    if (paths.isEmpty())
        event->ignore();
    else
        event->acceptProposedAction();
    return paths;
}
