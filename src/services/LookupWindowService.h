#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class WebService;

// What looking a CD up at MusicBrainz asks of the window.
class LookupWindowService
{
public:
    virtual ~LookupWindowService() = default;

    // Runs ask with a web service to MusicBrainz while a small dialog says
    // text; its Cancel ends the request under way, which then answers
    // cancelled. The window takes no other input meanwhile.
    virtual void whileAsking(const QString &text, const std::function<void(WebService &web)> &ask) = 0;

    // Offers the releases found, one line each, under the heading; gives
    // the one chosen, or -1 when none was.
    virtual int chooseRelease(const QString &heading, const QStringList &releases) = 0;
};
