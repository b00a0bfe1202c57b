#ifndef QEL_TESTS_SUPPORT_SILENTSERVER_HPP
#define QEL_TESTS_SUPPORT_SILENTSERVER_HPP

#include <cstdint>

namespace QEL
{
namespace Testing
{

/// A loopback port whose server never answers a connect, like one far away behind a dead link:
/// nothing listens on it at first (a connect is refused), then stopAnswering() listens with a
/// queue of one and fills it, so the system drops every further connect's first packet.
class SilentServer
{
public:
    /// Takes the port (0: one the system picks), even while a closed connection still holds it.
    explicit SilentServer(std::uint16_t port = 0);
    ~SilentServer();

    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;

    std::uint16_t getPort() const { return mPort; }

    /// From now on a connect gets no answer; false when the port could not be set up so.
    bool stopAnswering();

private:
    int mListener;
    int mFiller;
    std::uint16_t mPort;
};

} // namespace Testing
} // namespace QEL

#endif
