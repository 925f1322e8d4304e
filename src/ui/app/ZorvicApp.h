#pragma once
// The program's start: one instance per opened file, the document with every setting, the
// main window at its remembered place, the file of the command line.
namespace saroko {

int RunApplication(int argc, char** argv);

} // namespace saroko
