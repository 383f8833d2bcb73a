#pragma once
// The program INI file, TARNWELL.INI, in the program's folder or in the
// folder named on the command line: "KEY=VALUE" lines naming where the
// program's data, temporary files and help live. Keys are compared without
// regard to case; values keep theirs (they are paths).

#include <istream>
#include <string>

class iniPaths {
public:
    // Results of read().
    static constexpr int ok = 0;
    static constexpr int notRead = 1;
    // Key indexes of readKeyLine: 0-4 the keys in order, then these.
    static constexpr int keyCount = 5;
    static constexpr int unknownKey = 5;
    static constexpr int lineWithoutEquals = 6;
    static constexpr int endOfFile = -1;

    // Reads TARNWELL.INI in `folder` (the exact name first, else the one file
    // whose name matches without regard to case) into the five values; the
    // path found is kept in iniFilePath. 0 when read; 1 when there is no such
    // file or it cannot be opened (the values stay empty). Folder values
    // (EXEDIR, TMPDIR, HELPDIR) end with a separator unless empty; a
    // backslash in them is taken as a separator.
    int read(const std::string& folder);

    // Reads one line (LF or CR LF; a last line without one is read too).
    // Returns the key index 0-4 and sets `index` and `value` (trimmed); else
    // leaves them and returns unknownKey, lineWithoutEquals or endOfFile.
    static int readKeyLine(std::istream& file, int& index, std::string& value);

    std::string exeDir;    // EXEDIR
    std::string tmpDir;    // TMPDIR
    std::string helpDir;   // HELPDIR
    std::string helpFile;  // HELPFILE
    std::string helpTopic; // HELPTOPIC
    std::string iniFilePath;
};

// The folder whose INI file the program reads: the command line when it
// names one, else the program's own folder.
std::string iniFolder(const std::string& commandLine);
