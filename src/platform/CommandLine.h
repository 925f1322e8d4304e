#pragma once
// What the three programs' command lines share on top of QCommandLineParser.
#include <QStringList>
#include <string>
#include <vector>

class QCommandLineParser;

namespace saroko {

// The program's arguments after its name, in UTF-8 on every system. Windows hands main() its
// arguments in the ANSI code page, which loses every character that page cannot spell
// (half-width kana on a Western system, a name outside CP932 on a Japanese one); the wide
// command line has them all.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// On Windows the C runtime reads a TZ variable of the environment in its own format and, when it
// names a zone the POSIX way ("Asia/Tokyo"), runs on UTC, while Qt and Windows follow the zone
// the user chose: the program drops the variable so that every local time comes from that zone.
// Nothing elsewhere.
void FollowSystemTimeZone();

// `program` and `args` for QCommandLineParser::parse, as Latin-1, so that every byte of a file
// or channel name comes back through ArgumentBytes as it was given, whatever its encoding.
QStringList ParserArguments(const char* program, const std::vector<std::string>& args);
std::string ArgumentBytes(const QString& text);

// One line that names what was wrong after a failed parse: "unknown option --x", "option --x
// needs a value", "option --x takes no value"; in these words whatever Qt's language.
std::string ParseProblem(const QCommandLineParser& parser);

} // namespace saroko
