#include "plym/game/MusicManager.hpp"

#include <algorithm>
#include <iostream>

namespace Plym
{

void MusicManager::add(const std::string& file)
{
    mPlaylist.push_back(file);
    if (!mMusic && start(file, 1.f, false))
        mPosition = mPlaylist.size() - 1;
}

void MusicManager::play(const std::string& file, float volume, bool loop)
{
    if (!start(file, volume, loop))
        return;
    auto found = std::find(mPlaylist.begin(), mPlaylist.end(), file);
    if (found != mPlaylist.end())
        mPosition = static_cast<std::size_t>(found - mPlaylist.begin());
}

void MusicManager::update(float)
{
    if (mMusic && mMusic->getStatus() == sf::SoundSource::Stopped && !mMusic->getLoop())
        advance();
}

void MusicManager::setVolume(float volume)
{
    mVolume = std::clamp(volume, 0.f, 1.f);
    applyVolume();
}

const std::string& MusicManager::getCurrent() const
{
    static const std::string none;
    return mMusic ? mCurrent : none;
}

bool MusicManager::start(const std::string& file, float factor, bool loop)
{
    auto music = std::make_unique<sf::Music>();
    if (!music->openFromFile(file))
    {
        std::cerr << "MusicManager: cannot play \"" << file << "\"" << std::endl;
        return false;
    }
    mMusic = std::move(music);
    mCurrent = file;
    mFactor = std::clamp(factor, 0.f, 1.f);
    mMusic->setLoop(loop);
    applyVolume();
    mMusic->play();
    return true;
}

void MusicManager::advance()
{
    mMusic.reset();
    // Try each other track once; if none opens the music stays off.
    for (std::size_t tried = 0; tried < mPlaylist.size(); ++tried)
    {
        mPosition = (mPosition + 1) % mPlaylist.size();
        if (start(mPlaylist[mPosition], 1.f, false))
            return;
    }
}

void MusicManager::applyVolume()
{
    if (mMusic)
        mMusic->setVolume(mVolume * 100.f * mFactor);
}

} // namespace Plym
