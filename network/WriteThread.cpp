#include "network/WriteThread.hpp"

#include "network/Client.hpp"

#include <iostream>

namespace QEL
{
namespace Network
{

WriteThread::WriteThread(Client& client) :
mClient(client),
mRunning(false),
mFailed(false)
{
}

WriteThread::~WriteThread()
{
    join();
}

void WriteThread::start()
{
    if (mRunning)
        return;
    join();
    mRunning = true;
    mFailed = false;
    mThread = std::thread(&WriteThread::run, this);
}

void WriteThread::stop()
{
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mRunning = false;
        mFailed = false;
        mQueue.clear();
    }
    mCondition.notify_all();
}

void WriteThread::join()
{
    if (mThread.joinable())
        mThread.join();
}

bool WriteThread::push(const Packet& packet)
{
    bool wasEmpty;
    {
        std::lock_guard<std::mutex> lock(mMutex);
        if (!mRunning || mFailed)
            return false;
        wasEmpty = mQueue.empty();
        mQueue.push_back(packet);
    }
    if (wasEmpty)
        mCondition.notify_one();
    return true;
}

bool WriteThread::hasFailed() const
{
    return mFailed;
}

bool WriteThread::takeNext(Packet& packet)
{
    std::unique_lock<std::mutex> lock(mMutex);
    mCondition.wait(lock, [this] { return !mQueue.empty() || !mRunning; });
    if (mFailed || !mRunning)
        return false;
    packet = std::move(mQueue.front());
    mQueue.pop_front();
    return true;
}

void WriteThread::run()
{
    Packet packet;
    while (mRunning && !mFailed && takeNext(packet))
    {
        // Anything short of a whole send (error, peer gone) ends the worker.
        if (mClient.transmit(packet) != sf::Socket::Done)
        {
            std::lock_guard<std::mutex> lock(mMutex);
            // After stop() the socket was shut on purpose: no failure to report.
            mFailed = mRunning.load();
            mRunning = false;
        }
    }
    std::cout << "Write thread ending" << std::endl;
}

} // namespace Network
} // namespace QEL
