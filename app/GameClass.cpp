#include "app/GameClass.hpp"

#include "actors/Man.hpp"
#include "app/ClickFlag.hpp"
#include "app/GameEvents.hpp"
#include "app/StatsOverlay.hpp"
#include "app/StepTimer.hpp"
#include "app/ViewRules.hpp"
#include "app/WorldPainter.hpp"
#include "ecs/EntitySystem.hpp"
#include "network/Client.hpp"
#include "plym/core/Clock.hpp"
#include "plym/core/Profiling.hpp"
#include "plym/game/Engine.hpp"
#include "plym/game/InputManager.hpp"

#include <boost/nowide/iostream.hpp>

#include <tuple>

namespace QEL
{

const std::string GameClass::DefaultBinds =
    "{       \"Binds\": [ \"Up\", \"Down\", \"Left\", \"Right\", \"Run\", \"Jump\" ],        "
    "     \"Primary\": [           { \"Input\": \"Up\",    \"Key\": { \"Key\": \"W\" } },    "
    "       { \"Input\": \"Down\",  \"Key\": { \"Key\": \"S\" } },           { \"Input\": \"L"
    "eft\",  \"Key\": { \"Key\": \"A\" } },           { \"Input\": \"Right\", \"Key\": { \"Ke"
    "y\": \"D\" } },           { \"Input\": \"Run\",   \"Key\": { \"Key\": \"LShift\" } }, \t\t"
    "  { \"Input\": \"Jump\",  \"Key\": { \"Key\": \"Space\" } }       ],             \"Secon"
    "dary\": [           { \"Input\": \"Up\",    \"Axis\": { \"Joystick\": 0, \"Axis\": \"Y-\""
    "} },           { \"Input\": \"Down\",  \"Axis\": { \"Joystick\": 0, \"Axis\": \"Y+\"} },"
    "           { \"Input\": \"Left\",  \"Axis\": { \"Joystick\": 0, \"Axis\": \"X-\"} },    "
    "       { \"Input\": \"Right\", \"Axis\": { \"Joystick\": 0, \"Axis\": \"X+\"} },        "
    "   { \"Input\": \"Run\",   \"Axis\": { \"Joystick\": 0, \"Axis\": \"Z+\"} }, \t\t  { \"I"
    "nput\": \"Jump\",  \"Button\": { \"Joystick\": 0, \"Button\": 1} }       ]   }";

namespace
{

/// The network client as the engine's service for as long as it lives.
class ClientService
{
public:
    ClientService(Plym::Engine& engine, Network::Client& client) : mEngine(engine), mClient(client)
    {
        mEngine.addService<Network::Client>(mClient);
    }
    ~ClientService() { mEngine.removeService<Network::Client>(mClient); }

    ClientService(const ClientService&) = delete;
    ClientService& operator=(const ClientService&) = delete;

private:
    Plym::Engine& mEngine;
    Network::Client& mClient;
};

} // namespace

/// State of the frame loop that lives exactly as long as run().
struct GameClass::Frame
{
    Network::Client* client = nullptr;
    Plym::Time::Clock clock;
    StepTimer steps;
    std::int64_t lastFrame = 0;
    StatsOverlay overlay;
    ClickFlag clickFlag;
    sf::View gameView;
    sf::View uiView;
    std::unique_ptr<WorldPainter> painter;
};

GameClass::GameClass(Plym::Engine* engine) :
Component("QEL.Core"),
mInitId(0),
mEventId(0),
mClickId(0),
mUpdateId(0),
mDrawId(0),
mDrawUiId(0),
mEngine(engine),
mWindow(std::make_unique<sf::RenderWindow>()),
mLocalPlayer(nullptr),
mExitCode(0),
mPlainDrawing(false)
{
    mEngine->getService<Plym::InputManager>()->parseBinds(DefaultBinds);
}

GameClass::~GameClass() = default;

void GameClass::addedToEntity()
{
    mInitId = getMessageRequestId("QEL.Game.Init");
    mEventId = getMessageRequestId("QEL.Game.Event");
    mUpdateId = getMessageRequestId("QEL.Game.Update");
    mDrawId = getMessageRequestId("QEL.Game.Draw");
    mDrawUiId = getMessageRequestId("QEL.Game.DrawUi");
    mClickId = getMessageRequestId("QEL.Game.Click");
}

sf::RenderTarget* GameClass::getRenderTarget()
{
    return mWindow.get();
}

int GameClass::run()
{
    std::string userName;
    prompt(userName);
    const sf::String name = sf::String::fromUtf8(userName.begin(), userName.end());

    Network::Client client;
    const ClientService service(*mEngine, client);
    client.connect(name);

    attachInterface(name);
    openWindow();

    Frame frame;
    frame.client = &client;
    frame.gameView.setSize(sf::Vector2f(mWindow->getSize()) * 2.f);
    frame.gameView.setCenter(World::Centre, World::Centre);
    frame.uiView = mWindow->getDefaultView();
    if (!mPlainDrawing)
        frame.painter = std::make_unique<WorldPainter>(*getSystem(), mDrawId, [this](const DrawEvent& event) { sendDraw(event); });

    sendGlobalMessage(mInitId, Tessaly::Message(Tessaly::Custom, this, 0));

    while (mWindow->isOpen())
    {
        Plym::Profiling::reset();
        {
            Plym::Profiling::Block block("Frame");
            handleEvents(frame);
            {
                Plym::Profiling::Block update("Update");
                while (frame.steps.consumeStep())
                {
                    client.update();
                    sendGlobalMessage(mUpdateId, Tessaly::Message(Tessaly::Custom, this, StepTimer::StepSeconds));
                    mEngine->update(StepTimer::StepSeconds);
                }
            }
            moveCamera(frame);
            draw(frame);
            frame.lastFrame = frame.steps.addFrame(frame.clock.restart());
        }
        frame.overlay.countFrame(frame.lastFrame);
    }
    return mExitCode;
}

void GameClass::prompt(std::string& userName)
{
    if (!mGivenName.empty())
    {
        userName = mGivenName;
        return;
    }
    boost::nowide::cout << "Please enter your preferred username: " << std::flush;
    boost::nowide::cin >> userName;
}

void GameClass::attachInterface(const sf::String& userName)
{
    const Tessaly::Message answer = sendGlobalQuestion("Man.GetLocalPlayer", 0);
    if (!answer.handled)
        return;
    const Tessaly::EntityId player = answer.sender->getOwner();
    getSystem()->addComponent(player, getSystem()->createComponent("QEL.Components.UI"));
    sendMessageToEntity(player, "Man.SetName", std::make_tuple(0u, userName));
}

void GameClass::openWindow()
{
    mDesktop.openWindow(*mWindow);
}

void GameClass::handleEvents(Frame& frame)
{
    Plym::Profiling::Block block("Events");
    sf::Event event;
    while (mWindow->pollEvent(event))
        handleEvent(frame, event);
}

void GameClass::handleEvent(Frame& frame, const sf::Event& event)
{
    switch (event.type)
    {
        case sf::Event::Closed:
            mWindow->close();
            break;
        case sf::Event::Resized:
            fitViews(frame, sf::Vector2u(event.size.width, event.size.height));
            break;
        case sf::Event::LostFocus:
            mEngine->setFocus(false);
            break;
        case sf::Event::GainedFocus:
            mEngine->setFocus(true);
            break;
        default:
            sendGlobalMessage(mEventId, Tessaly::Message(Tessaly::Custom, this, event));
            break;
    }

    frame.overlay.handle(event);
    if (event.type == sf::Event::MouseButtonPressed)
        sendClick(frame, event.mouseButton);
    if (mDesktop.handle(*mWindow, event))
        fitViews(frame, mWindow->getSize());
}

void GameClass::fitViews(Frame& frame, sf::Vector2u size)
{
    ViewRules::fitToWindow(frame.gameView, size);
    frame.uiView.setSize(static_cast<float>(size.x), static_cast<float>(size.y));
    frame.uiView.setCenter(frame.uiView.getSize() / 2.f);
}

void GameClass::sendClick(Frame& frame, const sf::Event::MouseButtonEvent& button)
{
    const sf::Vector2f point = ViewRules::pixelToWorld(frame.gameView, sf::Vector2i(button.x, button.y), mWindow->getSize());
    sendGlobalMessage(mClickId, Tessaly::Message(Tessaly::Custom, this, ClickEvent{point, frame.clickFlag.press(button.button)}));
}

void GameClass::moveCamera(Frame& frame)
{
    if (!mLocalPlayer)
    {
        findLocalPlayer();
        return;
    }
    const Plym::Math::Vector3 position = mLocalPlayer->getPosition();
    const sf::Vector2f focus(position.x, position.y - 135.f);
    const sf::Vector2f centre = ViewRules::clampCamera(focus, frame.gameView.getSize(), World::Size);
    frame.gameView.setCenter(ViewRules::snapToPixels(centre, frame.gameView.getSize(), mWindow->getSize(), World::Size));
}

void GameClass::findLocalPlayer()
{
    Tessaly::EntitySystem& system = *getSystem();
    for (Tessaly::EntityId entity = 1; entity < system.getNextEntityId(); ++entity)
    {
        if (!system.hasEntity(entity))
            continue;
        const auto men = system.getAllComponentsOnEntity(entity, "QEL.Game.Man");
        if (!men.empty())
        {
            mLocalPlayer = static_cast<Man*>(men.front());
            return;
        }
    }
}

void GameClass::draw(Frame& frame)
{
    Plym::Profiling::Block block("Draw");
    const float seconds = static_cast<float>(frame.lastFrame) / 1000000.f;

    if (frame.painter)
    {
        frame.painter->paint(*mWindow, frame.gameView, seconds);
    }
    else
    {
        mWindow->setView(frame.gameView);
        sendDraw(DrawEvent{mWindow.get(), ViewRules::visibleRect(frame.gameView), seconds});
    }

    mWindow->setView(frame.uiView);
    const DrawEvent screen{mWindow.get(), ViewRules::visibleRect(frame.uiView), seconds};
    sendGlobalMessage(mDrawUiId, Tessaly::Message(Tessaly::Custom, this, screen));

    if (frame.overlay.isShown())
    {
        Plym::Profiling::Block overlay("Profiling::draw()");
        mWindow->draw(frame.overlay.getText());
    }
    mDesktop.finishFrame(*mWindow, seconds);
    mWindow->display();
}

void GameClass::sendDraw(const DrawEvent& event)
{
    sendGlobalMessage(mDrawId, Tessaly::Message(Tessaly::Custom, this, event));
}

} // namespace QEL
