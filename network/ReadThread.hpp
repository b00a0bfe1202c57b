#ifndef QEL_NETWORK_READTHREAD_HPP
#define QEL_NETWORK_READTHREAD_HPP

#include "network/Packet.hpp"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace QEL
{
namespace Network
{

class Client;

/// Worker that receives the byte stream, cuts it into packets and queues them for the main thread.
class ReadThread
{
public:
    explicit ReadThread(Client& client);
    ~ReadThread();

    ReadThread(const ReadThread&) = delete;
    ReadThread& operator=(const ReadThread&) = delete;

    /// Starts the worker unless it is running; packets are accepted from now on.
    void start();

    /// Clears both flags and the queue; a thread blocked in receive keeps waiting until the socket is shut.
    void stop();

    /// Waits for the worker's thread to end, if it was started.
    void join();

    /// Takes the oldest queued packet; false when there is none or the worker is not running.
    bool poll(Packet& packet);

    /// True once the socket reported an error; the main thread then disconnects.
    bool hasFailed() const;

    /// Moves every whole packet at the front of `accumulator` into `queue`. A packet whose
    /// checksum fails is dropped with its bytes so that the stream goes on; returns their channels.
    static std::vector<std::uint8_t> cutPackets(std::string& accumulator, std::deque<Packet>& queue);

private:
    void run();

    /// Records a socket error: the loop ends and the main thread will disconnect.
    void fail();

    Client& mClient;
    std::atomic<bool> mRunning;
    std::atomic<bool> mFailed;
    std::deque<Packet> mQueue;
    mutable std::mutex mMutex;
    std::vector<char> mBuffer;
    std::thread mThread;
};

} // namespace Network
} // namespace QEL

#endif
