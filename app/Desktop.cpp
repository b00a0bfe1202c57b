#include "app/Desktop.hpp"

#include "app/KeyBindsFile.hpp"
#include "app/Screenshot.hpp"
#include "app/UserFolders.hpp"
#include "ui/UI.hpp"

#include <boost/nowide/iostream.hpp>

#include <ctime>

namespace QEL
{

Desktop::Desktop() : mPictures(UserFolders::pictures())
{
}

Desktop::~Desktop()
{
    if (mChanged)
        save();
}

void Desktop::useFolder(const std::filesystem::path& folder, Plym::InputManager& input)
{
    mFile = folder / "settings.json";
    mSettings = Settings::load(*mFile);
    mMode.setWindowedSize(mSettings.getWindowSize());
    mMode.setFullscreen(mSettings.isFullscreen());
    Components::UI::setVolumeLevel(mSettings.getVolumeLevel());
    KeyBindsFile::load(folder / "binds.json", input);
}

void Desktop::rememberServer(const std::string& server)
{
    if (server == mSettings.getServer())
        return;
    mSettings.setServer(server);
    mChanged = true;
}

bool Desktop::handle(sf::RenderWindow& window, const sf::Event& event)
{
    if (event.type == sf::Event::Resized && mMode.noteResize(sf::Vector2u(event.size.width, event.size.height)))
    {
        mSettings.setWindowSize(mMode.getWindowedSize());
        mChanged = true;
    }
    if (mScreenshotKey.pressed(event))
        mScreenshotWanted = true;
    if (!mFullscreenKey.pressed(event))
        return false;
    mMode.toggle(window);
    mFullscreenKey.sync();
    mScreenshotKey.sync();
    mSettings.setFullscreen(mMode.isFullscreen());
    mChanged = true;
    return true;
}

void Desktop::finishFrame(sf::RenderWindow& window, float seconds)
{
    if (mScreenshotWanted)
        takeScreenshot(window);
    mNotice.draw(window, seconds);

    if (Components::UI::getVolumeLevel() != mSettings.getVolumeLevel())
    {
        mSettings.setVolumeLevel(Components::UI::getVolumeLevel());
        mChanged = true;
    }
    mSinceSave += seconds;
    if (mChanged && mSinceSave >= SaveInterval)
        save();
}

void Desktop::takeScreenshot(sf::RenderWindow& window)
{
    mScreenshotWanted = false;
    try
    {
        if (!mPictures)
            throw std::runtime_error("no picture folder (neither XDG_PICTURES_DIR nor HOME is set)");
        const std::filesystem::path file = Screenshot::save(window, *mPictures, std::time(nullptr));
        boost::nowide::cout << "Screenshot saved to " << file.string() << std::endl;
        mNotice.show("Screenshot saved: " + file.filename().string());
    }
    catch (const std::exception& error)
    {
        boost::nowide::cerr << "Cannot save a screenshot: " << error.what() << std::endl;
        mNotice.show("Cannot save a screenshot");
    }
}

void Desktop::save()
{
    mChanged = false;
    mSinceSave = 0.f;
    if (!mFile)
        return;
    try
    {
        mSettings.save(*mFile);
    }
    catch (const std::exception& error)
    {
        // Told once: the next change would fail the same way.
        if (!mSaveFailed)
            boost::nowide::cerr << "Cannot save the settings: " << error.what() << std::endl;
        mSaveFailed = true;
    }
}

} // namespace QEL
