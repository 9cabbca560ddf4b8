#include "foundation/params/MediaParam.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// Records every call into a shared log as "<name>:<event>".
class LoggingListener : public MediaControlT<MediaParamTB<int>> {
public:
    LoggingListener(std::string n, std::vector<std::string>& l) : name(std::move(n)), log(l) {}
    void OnChanged(MediaControl*) override { log.push_back(name + ":changed"); }
    void Detach() override
    {
        log.push_back(name + ":detach");
        MediaControlT::Detach();
    }
    std::string name;
    std::vector<std::string>& log;
};

} // namespace

TEST(MediaParam, ChangeTellsEveryListenerButTheSourceInRegistrationOrder)
{
    std::vector<std::string> log;
    MediaParamT<int> param(1);
    LoggingListener a("a", log), b("b", log), c("c", log);
    a.AttachSilently(&param);
    b.AttachSilently(&param);
    c.AttachSilently(&param);

    param.SetValue(5, &b);

    EXPECT_EQ((std::vector<std::string>{"a:changed", "c:changed"}), log);
    // The parameter's own undo listener comes first and saw the new value.
    ASSERT_EQ(4u, param.ListenerCount());
    EXPECT_EQ(&param.undo, param.ListenerAt(0));
    EXPECT_EQ(5, param.undo.copy);
}

TEST(MediaParam, SettingTheCurrentValueTellsNobody)
{
    std::vector<std::string> log;
    MediaParamT<unsigned long> param(7ul);
    MediaParamTB<int> plain(3);
    LoggingListener a("a", log);
    a.AttachSilently(&plain);

    plain.SetValue(3, nullptr);
    param.SetValue(7ul, nullptr);

    EXPECT_TRUE(log.empty());
}

TEST(MediaParam, AttachComputesFromTheCurrentValueOnce)
{
    std::vector<std::string> log;
    MediaParamTB<int> first(1), second(2);
    LoggingListener a("a", log);
    a.Attach(&first);
    a.Attach(&second);

    EXPECT_EQ((std::vector<std::string>{"a:changed", "a:changed"}), log);
    EXPECT_EQ(0u, first.ListenerCount());
    EXPECT_EQ(1u, second.ListenerCount());
}

TEST(MediaParam, DestroyingTheParameterFirstDetachesItsListeners)
{
    std::vector<std::string> log;
    auto a = std::make_unique<LoggingListener>("a", log);
    {
        MediaParamTB<int> param(1);
        a->AttachSilently(&param);
    }
    EXPECT_EQ((std::vector<std::string>{"a:detach"}), log);
    EXPECT_EQ(nullptr, a->observed);
    a.reset(); // touches no parameter
}

TEST(MediaParam, DestroyedListenerLeavesTheList)
{
    std::vector<std::string> log;
    MediaParamT<int> param(1);
    {
        LoggingListener a("a", log);
        a.AttachSilently(&param);
        EXPECT_EQ(2u, param.ListenerCount());
    }
    param.SetValue(2, nullptr);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(1u, param.ListenerCount());
}

TEST(MediaParam, ListenerMayLeaveWhileBeingTold)
{
    std::vector<std::string> log;
    MediaParamTB<int> param(0);
    struct Leaver : LoggingListener {
        using LoggingListener::LoggingListener;
        std::unique_ptr<LoggingListener> victim;
        void OnChanged(MediaControl* s) override
        {
            LoggingListener::OnChanged(s);
            victim.reset();
        }
    } leaver("leaver", log);
    leaver.victim = std::make_unique<LoggingListener>("victim", log);
    leaver.AttachSilently(&param);
    leaver.victim->AttachSilently(&param);
    LoggingListener last("last", log);
    last.AttachSilently(&param);

    param.SetValue(1, nullptr);
    param.SetValue(2, nullptr);

    EXPECT_EQ((std::vector<std::string>{"leaver:changed", "last:changed", "leaver:changed", "last:changed"}), log);
    EXPECT_EQ(2u, param.ListenerCount());
}

TEST(MediaParam, CopyTakesTheValueButNotTheListeners)
{
    std::vector<std::string> log;
    MediaParamT<int> source(9);
    LoggingListener a("a", log);
    a.AttachSilently(&source);

    MediaParamT<int> copy(source);
    EXPECT_EQ(9, copy.value);
    ASSERT_EQ(1u, copy.ListenerCount());
    EXPECT_EQ(&copy.undo, copy.ListenerAt(0));
    EXPECT_EQ(&copy, copy.undo.owner);

    MediaParamT<int> assigned(1);
    assigned = source;
    EXPECT_EQ(9, assigned.value);
    EXPECT_EQ(1u, assigned.ListenerCount());
    copy.SetValue(4, nullptr);
    EXPECT_TRUE(log.empty());
}

TEST(MediaParam, UndoAndRedoOnAnEmptyHistoryChangeNothing)
{
    std::vector<std::string> log;
    MediaParamT<int> param(3);
    LoggingListener a("a", log);
    a.AttachSilently(&param);
    param.undo.Undo();
    param.undo.Redo();
    EXPECT_EQ(3, param.value);
    EXPECT_TRUE(log.empty());
}

TEST(MediaParam, RecordedHistoryUndoesAndRedoesAndKeepsTwentyEntries)
{
    std::vector<std::string> log;
    MediaParamT<int> param(0);
    LoggingListener a("a", log);
    a.AttachSilently(&param);
    for (int v = 1; v <= 25; ++v) {
        param.undo.Record(); // keeps the value before the change
        param.SetValue(v, nullptr);
    }
    EXPECT_EQ(UndoCtrlT<int>::HistoryLimit, param.undo.history.size());
    log.clear();

    param.undo.Undo();
    EXPECT_EQ(24, param.value);
    EXPECT_EQ((std::vector<std::string>{"a:changed"}), log);
    param.undo.Undo();
    EXPECT_EQ(23, param.value);
    param.undo.Redo();
    EXPECT_EQ(24, param.value);
    param.undo.Redo();
    EXPECT_EQ(25, param.value);
    param.undo.Redo(); // already on the newest entry
    EXPECT_EQ(25, param.value);
}

TEST(MediaParam, VectorsAreAnnouncedWithoutComparing)
{
    std::vector<std::string> log;
    MediaParamT<D3DXVECTOR3> param;
    EXPECT_EQ(0.0f, param.value.x);
    struct VectorListener : MediaControlT<MediaParamT<D3DXVECTOR3>> {
        int calls = 0;
        void OnChanged(MediaControl*) override { ++calls; }
    } listener;
    listener.AttachSilently(&param);
    param.SetValue(D3DXVECTOR3(0, 0, 0), nullptr);
    EXPECT_EQ(1, listener.calls);
}

TEST(MediaParam, StringParameterStartsEmpty)
{
    MediaParamTB<ds_string> name;
    EXPECT_TRUE(name.value.empty());
    MediaColor colour(0x00112233ul);
    EXPECT_EQ(0x00112233ul, colour.value);
    EXPECT_EQ(&colour.undo, colour.ListenerAt(0));
}
