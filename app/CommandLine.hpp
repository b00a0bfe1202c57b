#ifndef QEL_APP_COMMANDLINE_HPP
#define QEL_APP_COMMANDLINE_HPP

#include <stdexcept>
#include <string>

namespace QEL
{

/// The client's options. Valued options take their value as the next argument or after "=".
class CommandLine
{
public:
    /// An unknown option, a value missing or one not allowed; the text names the option.
    class Error : public std::runtime_error
    {
    public:
        explicit Error(const std::string& text) : std::runtime_error(text) {}
    };

    /// Reads the arguments after the program name; throws Error at the first one that is wrong.
    CommandLine(int argc, char** argv);

    /// The server given with --server, empty when none.
    const std::string& getServer() const { return mServer; }

    /// The user name given with --name, empty when none (the console asks for it).
    const std::string& getName() const { return mName; }

    /// The folder given with --data-dir, empty when none.
    const std::string& getDataDir() const { return mDataDir; }

    bool wantsFullscreen() const { return mFullscreen; }
    bool wantsPlainDrawing() const { return mPlainDrawing; }
    bool wantsHelp() const { return mHelp; }
    bool wantsVersion() const { return mVersion; }

    /// The program's name as it was started, for messages and the usage.
    const std::string& getProgram() const { return mProgram; }
    static std::string programName(int argc, char** argv);

private:
    void readValue(const std::string& option, const std::string& value);
    void readFlag(const std::string& option);

    std::string mProgram;
    std::string mServer;
    std::string mName;
    std::string mDataDir;
    bool mFullscreen = false;
    bool mPlainDrawing = false;
    bool mHelp = false;
    bool mVersion = false;
};

} // namespace QEL

#endif
