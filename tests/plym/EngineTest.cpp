#include "plym/game/Engine.hpp"

#include "ecs/EntitySystem.hpp"
#include "plym/core/FileSystem.hpp"
#include "plym/core/ScriptEngine.hpp"
#include "plym/core/ScriptEntity.hpp"
#include "plym/game/InputManager.hpp"
#include "plym/game/MusicManager.hpp"
#include "tests/plym/TestFiles.hpp"

#include <gtest/gtest.h>

#include <iostream>
#include <tuple>
#include <vector>

using Plym::Engine;

namespace
{

// Command lines for initialize: argv as the program gets it.
class Arguments
{
public:
    Arguments(std::initializer_list<std::string> words) : mWords(words)
    {
        for (std::string& word : mWords)
            mPointers.push_back(word.data());
        mPointers.push_back(nullptr);
    }

    int count() const { return static_cast<int>(mWords.size()); }
    char** values() { return mPointers.data(); }

private:
    std::vector<std::string> mWords;
    std::vector<char*> mPointers;
};

// Runs initialize with the console line kept out of the test output.
void start(Engine& engine, std::initializer_list<std::string> words = {"quelmoor"})
{
    Arguments arguments(words);
    testing::internal::CaptureStdout();
    engine.initialize(arguments.count(), arguments.values());
    testing::internal::GetCapturedStdout();
}

Tessaly::Message send(Tessaly::EntitySystem& system, const std::string& name, boost::any payload)
{
    Tessaly::Message message(Tessaly::Custom, nullptr, std::move(payload));
    system.sendGlobalMessage(system.getMessageRequestId(Tessaly::MessageRequest, name), message);
    return message;
}

} // namespace

TEST(Engine, FirstRegistrationOfATypeWins)
{
    Tessaly::EntitySystem system;
    Engine engine(system, Engine::Everything);
    int first = 1;
    int second = 2;
    engine.addService(first);
    engine.addService(second);
    EXPECT_EQ(engine.getService<int>(), &first);
    EXPECT_EQ(engine.getService<double>(), nullptr);
    // Only the registered object takes its entry away; then a newcomer is taken.
    engine.removeService(second);
    EXPECT_EQ(engine.getService<int>(), &first);
    engine.removeService(first);
    EXPECT_EQ(engine.getService<int>(), nullptr);
    engine.addService(second);
    EXPECT_EQ(engine.getService<int>(), &second);

    Plym::InputManager ownInput;
    engine.addService(ownInput);
    start(engine);
    EXPECT_EQ(engine.getService<Plym::InputManager>(), &ownInput);
    EXPECT_EQ(engine.getService<Tessaly::EntitySystem>(), &system);
    EXPECT_NE(engine.getService<Plym::MusicManager>(), nullptr);
    EXPECT_NE(engine.getService<Plym::FileSystem>(), nullptr);
    EXPECT_NE(engine.getService<Plym::ScriptEngine>(), nullptr);
    ASSERT_NE(engine.getService<Plym::ScriptEntity>(), nullptr);
    EXPECT_EQ(engine.getService<Plym::ScriptEntity>()->getEntity(), engine.getEntity());

    engine.setFocus(false);
    EXPECT_FALSE(ownInput.hasFocus());
}

TEST(Engine, FlagsChooseTheOptionalServices)
{
    Tessaly::EntitySystem system;
    Engine engine(system, 0);
    start(engine);
    EXPECT_EQ(engine.getService<Plym::InputManager>(), nullptr);
    EXPECT_EQ(engine.getService<Plym::MusicManager>(), nullptr);
    EXPECT_EQ(engine.getService<Plym::ScriptEngine>(), nullptr);
    EXPECT_NE(engine.getService<Plym::FileSystem>(), nullptr);
    EXPECT_TRUE(send(system, "Plym.Get.Engine", 0).handled);
    EXPECT_FALSE(send(system, "Plym.Music.Add", std::string("a.ogg")).handled);    // no music: ignored
}

TEST(Engine, HooksRunDuringInitializeInOrder)
{
    Tessaly::EntitySystem system;
    Engine engine(system, Engine::Everything);
    std::vector<std::string> calls;
    engine.addHook("Components", "QEL Components").call([&](Engine& e) {
        // Services exist when hooks run: the catalogue registers through the entity system.
        e.getService<Tessaly::EntitySystem>()->registerTemplate("Test.Template", {});
        calls.push_back("Components");
    });
    engine.addHook("Later", "Test").call([&](Engine&) { calls.push_back("Later"); });
    engine.addHook("Empty", "Test");
    EXPECT_TRUE(calls.empty());

    Arguments arguments({"quelmoor"});
    testing::internal::CaptureStdout();
    engine.initialize(arguments.count(), arguments.values());
    const std::string console = testing::internal::GetCapturedStdout();
    EXPECT_EQ(calls, (std::vector<std::string>{"Components", "Later"}));
    EXPECT_NE(system.instantiate("Test.Template"), 0u);
    EXPECT_NE(console.find("Plym engine started"), std::string::npos) << console;
    EXPECT_THROW(engine.initialize(arguments.count(), arguments.values()), std::runtime_error);
}

TEST(Engine, AnswersTheEngineQuestionAndLeavesWithItsEntity)
{
    Tessaly::EntitySystem system;
    Tessaly::EntityId own = 0;
    {
        Engine engine(system, Engine::Everything);
        EXPECT_EQ(Engine::getSingleton(), &engine);
        EXPECT_THROW(Engine(system, 0), std::runtime_error);
        start(engine);
        own = engine.getEntity();
        ASSERT_TRUE(system.hasEntity(own));

        const Tessaly::Message answer = send(system, "Plym.Get.Engine", 0);
        ASSERT_TRUE(answer.handled);
        EXPECT_EQ(boost::any_cast<Engine*>(answer.payload), &engine);
        ASSERT_NE(answer.sender, nullptr);
        EXPECT_EQ(answer.sender->getName(), "Plym.Engine");
    }
    EXPECT_EQ(Engine::getSingleton(), nullptr);
    EXPECT_FALSE(system.hasEntity(own));
    EXPECT_FALSE(send(system, "Plym.Get.Engine", 0).handled);
}

TEST(Engine, MusicMessagesReachTheMusicService)
{
    PlymTest::TempDirectory dir;
    const std::string grass = PlymTest::writeTone(dir, "grass.ogg", 2.f);
    const std::string desert = PlymTest::writeTone(dir, "desert.ogg", 2.f);
    Tessaly::EntitySystem system;
    Engine engine(system, Engine::Everything);
    start(engine);
    Plym::MusicManager& music = *engine.getService<Plym::MusicManager>();

    send(system, "Plym.Music.Add", grass);
    send(system, "Plym.Music.Add", desert);
    EXPECT_EQ(music.getPlaylist(), (std::vector<std::string>{grass, desert}));
    EXPECT_EQ(music.getCurrent(), grass);

    send(system, "Plym.Music.Play", std::make_tuple(desert, 0.75f, true));
    EXPECT_EQ(music.getCurrent(), desert);
    ASSERT_NE(music.getMusic(), nullptr);
    EXPECT_TRUE(music.getMusic()->getLoop());
    EXPECT_FLOAT_EQ(music.getMusic()->getVolume(), 75.f);

    EXPECT_THROW(send(system, "Plym.Music.Add", 5), boost::bad_any_cast);
}

TEST(Engine, DataDirOptionChangesTheWorkingDirectory)
{
    PlymTest::TempDirectory dir;
    const std::filesystem::path before = std::filesystem::current_path();
    {
        Tessaly::EntitySystem system;
        Engine engine(system, 0);
        start(engine, {"quelmoor", "--data-dir", dir.path().string()});
        EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::current_path(), dir.path()));
    }
    std::filesystem::current_path(before);
    {
        Tessaly::EntitySystem system;
        Engine engine(system, 0);
        start(engine, {"quelmoor", "--data-dir=" + dir.path().string(), "--unknown"});
        EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::current_path(), dir.path()));
    }
    std::filesystem::current_path(before);
}

TEST(EngineDeathTest, BadDataDirAndHelpEndTheProcess)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto initialize = [](std::initializer_list<std::string> words) {
        Tessaly::EntitySystem system;
        Engine engine(system, 0);
        Arguments arguments(words);
        std::cout.setstate(std::ios::badbit);    // runs in the child only: keeps the help text quiet
        engine.initialize(arguments.count(), arguments.values());
    };
    EXPECT_EXIT(initialize({"quelmoor", "--data-dir", "/no/such/folder"}), testing::ExitedWithCode(1),
                "Cannot use the data directory \"/no/such/folder\"");
    EXPECT_EXIT(initialize({"quelmoor", "--data-dir"}), testing::ExitedWithCode(1), "needs a directory");
    EXPECT_EXIT(initialize({"quelmoor", "--data-dir", "/no/such/folder", "--help"}), testing::ExitedWithCode(0), "");

    const std::string usage = Engine::getUsage("quelmoor");
    EXPECT_EQ(usage.rfind("Usage: quelmoor", 0), 0u);
    for (const char* part : {"--data-dir DIR", "--help", "Controls:", "W A S D", "Return", "F3"})
        EXPECT_NE(usage.find(part), std::string::npos) << part;
}
