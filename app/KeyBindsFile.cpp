#include "app/KeyBindsFile.hpp"

#include "app/TextFile.hpp"
#include "plym/game/InputManager.hpp"

#include <boost/nowide/iostream.hpp>

#include <stdexcept>

namespace QEL
{
namespace
{

// The inputs the player character reads.
const char* const GameInputs[] = {"Up", "Down", "Left", "Right", "Run", "Jump"};

/// Throws saying what is wrong with the binds of the text.
void check(const std::string& text)
{
    Plym::InputManager trial;
    trial.parseBinds(text);
    for (const char* name : GameInputs)
    {
        if (!trial.hasBind(name))
            throw std::runtime_error(std::string("it does not list the input \"") + name + "\" in \"Binds\"");
    }
}

} // namespace

bool KeyBindsFile::load(const std::filesystem::path& file, Plym::InputManager& input)
{
    std::error_code missing;
    if (!std::filesystem::exists(file, missing))
        return false;
    try
    {
        const std::string text = TextFile::read(file, MaxFileBytes);
        check(text);
        input.parseBinds(text);
        return true;
    }
    catch (const std::exception& error)
    {
        boost::nowide::cerr << "Key binds file " << file.string() << " not used: " << error.what()
                            << "; using the default keys" << std::endl;
        return false;
    }
}

} // namespace QEL
