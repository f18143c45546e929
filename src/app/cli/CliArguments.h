#pragma once

#include "id3v1/TagUpdate.h"

#include <QString>
#include <QStringList>

#include <optional>

class LocaleText;

enum class CliCommand { Show, Set, Number, Fill, Titles, Rename, Lookup };
// Where fill takes the fields from.
enum class FillSource { Id3v2, FileNames, Utf8, EucJp, MusicBrainz };

// What a run of kalvo-cli is to do.
struct CliOptions {
    CliCommand command = CliCommand::Show;
    FillSource source = FillSource::Id3v2;
    TagUpdate fields;               // set: the fields given
    int firstTrack = 1;             // number: the first track number
    std::optional<QString> format;  // fill names, rename: the rename format given
    QString release;                // fill musicbrainz: the release's MusicBrainz id
    bool json = false;              // show, lookup: as JSON
    bool dryRun = false;            // write nothing, tell what would change
    bool v2 = false;                // set, number, fill, titles: the ID3v2 tag written too
    QStringList files;              // as given, with their exact bytes (pathText)
};

struct CliArguments {
    enum class Action { Run, Help, Version, UsageError };
    Action action = Action::UsageError;
    CliOptions options;
    QString error;  // UsageError: what is wrong, in Japanese
};

// Reads the command line: the arguments after the program's name, each as
// the text of its bytes (pathText). File names keep their bytes; the values
// of options are text in the locale's character set (text). --help and
// --version anywhere win over everything else.
CliArguments readCliArguments(const QStringList &arguments, const LocaleText &text);

// The usage, in Japanese.
QString cliHelp();
