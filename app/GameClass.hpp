#ifndef QEL_APP_GAMECLASS_HPP
#define QEL_APP_GAMECLASS_HPP

#include "app/Desktop.hpp"
#include "app/GameEvents.hpp"
#include "ecs/Component.hpp"

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/View.hpp>
#include <SFML/Window/Event.hpp>
#include <SFML/System/String.hpp>

#include <memory>
#include <string>

namespace Plym
{
class Engine;
}

namespace QEL
{

class Man;

/// The core component "QEL.Core": owns the game window, installs the default input binds
/// and runs the frame loop that broadcasts the game-level messages to every component.
class GameClass : public Tessaly::Component
{
public:
    /// The default binds: W/A/S/D, left Shift to run, Space to jump, joystick 0 as secondary.
    static const std::string DefaultBinds;

    explicit GameClass(Plym::Engine* engine);
    ~GameClass() override;

    void addedToEntity() override;

    /// The (not yet opened) window as a render target.
    sf::RenderTarget* getRenderTarget();

    /// Reads the user name, connects, opens the window and runs frames until it closes.
    int run();

    /// Every frame draws the whole world afresh instead of through the world painter.
    void setPlainDrawing(bool plain) { mPlainDrawing = plain; }

    /// The user name to join with instead of asking for one; empty asks.
    void setUserName(const std::string& name) { mGivenName = name; }

    /// Settings, key binds, fullscreen and screenshots.
    Desktop& getDesktop() { return mDesktop; }

private:
    struct Frame;

    void prompt(std::string& userName);
    void attachInterface(const sf::String& userName);
    void openWindow();
    void handleEvents(Frame& frame);
    void handleEvent(Frame& frame, const sf::Event& event);
    /// Both views follow a window of a new size.
    void fitViews(Frame& frame, sf::Vector2u size);
    void sendClick(Frame& frame, const sf::Event::MouseButtonEvent& button);
    void moveCamera(Frame& frame);
    void findLocalPlayer();
    void draw(Frame& frame);
    void sendDraw(const DrawEvent& event);

    Tessaly::RequestId mInitId;
    Tessaly::RequestId mEventId;
    Tessaly::RequestId mClickId;
    Tessaly::RequestId mUpdateId;
    Tessaly::RequestId mDrawId;
    Tessaly::RequestId mDrawUiId;
    Plym::Engine* mEngine;
    std::unique_ptr<sf::RenderWindow> mWindow;
    Man* mLocalPlayer;
    int mExitCode;
    bool mPlainDrawing;
    std::string mGivenName;
    Desktop mDesktop;
};

} // namespace QEL

#endif
