#include "network/ReadThread.hpp"

#include "network/Client.hpp"

#include <cstdio>
#include <iostream>

namespace QEL
{
namespace Network
{
namespace
{

// The most one receive call takes from the socket.
constexpr std::size_t ReceiveBufferSize = 65535;

} // namespace

ReadThread::ReadThread(Client& client) :
mClient(client),
mRunning(false),
mFailed(false),
mBuffer(ReceiveBufferSize)
{
}

ReadThread::~ReadThread()
{
    join();
}

void ReadThread::start()
{
    if (mRunning)
        return;
    join();
    mRunning = true;
    mFailed = false;
    mThread = std::thread(&ReadThread::run, this);
}

void ReadThread::stop()
{
    std::lock_guard<std::mutex> lock(mMutex);
    mRunning = false;
    mFailed = false;
    mQueue.clear();
}

void ReadThread::join()
{
    if (mThread.joinable())
        mThread.join();
}

bool ReadThread::poll(Packet& packet)
{
    if (!mRunning || mFailed)
        return false;
    std::lock_guard<std::mutex> lock(mMutex);
    if (mQueue.empty())
        return false;
    packet = std::move(mQueue.front());
    mQueue.pop_front();
    return true;
}

bool ReadThread::hasFailed() const
{
    return mFailed;
}

std::vector<std::uint8_t> ReadThread::cutPackets(std::string& accumulator, std::deque<Packet>& queue)
{
    std::size_t used = 0;
    std::vector<std::uint8_t> dropped;
    Packet packet;
    for (;;)
    {
        const Packet::Extraction result = Packet::extract(accumulator.data() + used, accumulator.size() - used, packet);
        if (result == Packet::Extraction::Incomplete)
            break;
        used += packet.getWireSize();
        if (result == Packet::Extraction::Complete)
            queue.push_back(std::move(packet));
        else
            dropped.push_back(packet.getChannel());
    }
    // One erase per pass keeps a chunk of many small packets linear.
    accumulator.erase(0, used);
    return dropped;
}

void ReadThread::run()
{
    std::string accumulator;
    while (mRunning && !mFailed)
    {
        std::vector<std::uint8_t> dropped;
        {
            std::lock_guard<std::mutex> lock(mMutex);
            dropped = cutPackets(accumulator, mQueue);
        }
        for (int channel : dropped)
            mClient.mConsole.say("dropped packet", "Dropped a packet on channel " + std::to_string(channel) + ": bad checksum");

        std::size_t received = 0;
        const sf::Socket::Status status = mClient.mSocket.receive(mBuffer.data(), mBuffer.size(), received);
        accumulator.append(mBuffer.data(), received);
        // A closed or never-opened connection ends the loop like an error; it would deliver nothing more.
        if (status != sf::Socket::Done)
            fail();
    }
    std::cout << "Read thread ending" << std::endl;
}

void ReadThread::fail()
{
    std::lock_guard<std::mutex> lock(mMutex);
    // After stop() the socket was shut on purpose: no failure to report.
    if (!mRunning)
        return;
    mRunning = false;
    mFailed = true;
}

} // namespace Network
} // namespace QEL
