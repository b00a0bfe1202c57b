#ifndef QEL_TESTS_CHILDPROCESS_HPP
#define QEL_TESTS_CHILDPROCESS_HPP

#include <chrono>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace QEL
{
namespace Testing
{

/// A real program started by a test, with its standard input and output on pipes.
/// Output is collected by a background thread; the process is killed if still running
/// when the object goes away.
class ChildProcess
{
public:
    ChildProcess(const std::vector<std::string>& arguments, const std::map<std::string, std::string>& environment = {},
                 const std::string& workingDirectory = "");
    ~ChildProcess();

    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    void writeInput(const std::string& text);
    void closeInput();

    /// Everything the process wrote to standard output and standard error so far.
    std::string getOutput() const;

    /// After the process ended: everything it wrote, once all of it was read.
    std::string getWholeOutput();

    /// Waits until the output contains `text`; false when the deadline passes first.
    bool waitForOutput(const std::string& text, std::chrono::milliseconds deadline) const;

    /// Waits until some part of the output matches the regular expression; false at the deadline.
    bool waitForMatch(const std::string& pattern, std::chrono::milliseconds deadline) const;

    /// Waits for the process to end; its exit status, or nothing at the deadline.
    std::optional<int> waitForExit(std::chrono::milliseconds deadline);

    /// Ends the process at once (SIGKILL), as a crash would.
    void kill();

    /// Asks the process to end (SIGTERM) and waits up to `deadline` for it; kills it after that.
    void stop(std::chrono::milliseconds deadline);

    int getPid() const { return mPid; }

private:
    void collect(int descriptor);

    int mPid = -1;
    int mInput = -1;
    std::optional<int> mStatus;
    mutable std::mutex mMutex;
    std::string mOutput;
    std::thread mReader;
};

/// Path of a program built into bin/ of the build tree ($QUELMOOR_BUILD_DIR when set).
std::string programPath(const std::string& name);

} // namespace Testing
} // namespace QEL

#endif
