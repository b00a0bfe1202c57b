#ifndef QEL_NETWORK_WRITETHREAD_HPP
#define QEL_NETWORK_WRITETHREAD_HPP

#include "network/Packet.hpp"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace QEL
{
namespace Network
{

class Client;

/// Worker that sends queued packets, so that the main thread never waits for the socket.
class WriteThread
{
public:
    explicit WriteThread(Client& client);
    ~WriteThread();

    WriteThread(const WriteThread&) = delete;
    WriteThread& operator=(const WriteThread&) = delete;

    /// Starts the worker unless it is running; packets are accepted from now on.
    void start();

    /// Clears both flags and the queue and wakes the worker so that it ends.
    void stop();

    /// Waits for the worker's thread to end, if it was started.
    void join();

    /// Queues a copy for sending; false (and nothing queued) while the worker is stopped or has failed.
    bool push(const Packet& packet);

    /// True once the socket reported an error; the main thread then disconnects.
    bool hasFailed() const;

private:
    void run();

    /// Waits for the next packet; false when the worker is to end.
    bool takeNext(Packet& packet);

    Client& mClient;
    std::atomic<bool> mRunning;
    std::atomic<bool> mFailed;
    std::deque<Packet> mQueue;
    std::mutex mMutex;
    std::condition_variable mCondition;
    std::thread mThread;
};

} // namespace Network
} // namespace QEL

#endif
