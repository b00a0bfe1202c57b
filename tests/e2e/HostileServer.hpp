#ifndef QEL_TESTS_E2E_HOSTILESERVER_HPP
#define QEL_TESTS_E2E_HOSTILESERVER_HPP

#include <SFML/Network/SocketSelector.hpp>
#include <SFML/Network/TcpListener.hpp>
#include <SFML/Network/TcpSocket.hpp>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace QEL
{
namespace Testing
{

/// A server that speaks the records but sends whatever a test makes it send. It takes one
/// client on loopback, notes when its join request came and when each of its stream records
/// arrived, and answers nothing by itself.
class HostileServer
{
public:
    HostileServer();
    ~HostileServer();

    HostileServer(const HostileServer&) = delete;
    HostileServer& operator=(const HostileServer&) = delete;

    /// "127.0.0.1:<port>", as QUELMOOR_SERVER takes it.
    std::string getAddress() const;

    /// Waits for the client's join request; false at the deadline.
    bool waitForJoinRequest(std::chrono::milliseconds deadline);

    /// A join reply with the result; a result of 0 is followed by the opening of the player
    /// stream and the chat channels.
    void reply(std::uint8_t result);

    /// A player announcement on the stream channel, its name given as raw bytes.
    void announcePlayer(std::uint32_t id, const std::string& name);

    /// A chat record on the chat channel, the text given as raw bytes.
    void say(std::uint32_t speaker, const std::string& text);

    /// Stream records per second over the next `records` records to arrive (from the first of
    /// them to the last); 0 when they have not all come by the deadline.
    double measureStreamRate(std::size_t records, std::chrono::milliseconds deadline);

private:
    void serve();
    void receive();
    void send(const std::string& wire);

    sf::TcpListener mListener;
    sf::TcpSocket mClient;
    sf::SocketSelector mSelector;
    std::atomic<bool> mStopping{false};
    std::thread mThread;

    std::mutex mMutex;
    std::condition_variable mChanged;
    std::string mReceived;
    bool mJoinRequested = false;
    std::vector<std::chrono::steady_clock::time_point> mStreamRecords;
};

} // namespace Testing
} // namespace QEL

#endif
