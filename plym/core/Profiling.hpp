#ifndef PLYM_CORE_PROFILING_HPP
#define PLYM_CORE_PROFILING_HPP

#include <cstdint>
#include <string>

namespace Plym
{

/// Process-wide section timer for the start-up report and the F3 overlay.
///
/// A section is a name with a stable id; start/end pairs add their time to the current
/// record. reset() closes the current record (a frame) into the running totals and starts
/// a new one; clear() forgets all times but keeps names and ids, so cached ids stay valid.
/// Sections may nest; a section started again while open (recursion) is timed once, from
/// its outermost start. Main thread only: there is no locking.
class Profiling
{
public:
    using Id = std::uint32_t;

    /// Id of the named section, created on first use.
    static Id getId(const std::string& name);

    static void start(Id id);
    static void start(const std::string& name);

    /// Ends an open section; ending a section that is not open does nothing.
    static void end(Id id);
    static void end(const std::string& name);

    /// The current record, one line per section in order of first start, indented by
    /// nesting depth: name, time in ms and share of the given frame time.
    static std::string getStats(float frameSeconds);

    /// Writes a report of everything recorded since the last clear() to standard output.
    static void print();

    /// Starts a new frame's record (the finished one goes into the totals that print() shows).
    static void reset();

    /// Forgets every recorded time; section names and ids survive.
    static void clear();

    /// Times its scope as one section. Construction from the same string literal is cheap:
    /// the id is cached by the text's address (checked against the name, so a reused
    /// address of another text is never confused), no hashing and no allocation after the
    /// first use.
    class Block
    {
    public:
        explicit Block(const char* name);
        explicit Block(Id id);
        ~Block();

        Block(const Block&) = delete;
        Block& operator=(const Block&) = delete;

    private:
        Id mId;
    };
};

} // namespace Plym

#endif
