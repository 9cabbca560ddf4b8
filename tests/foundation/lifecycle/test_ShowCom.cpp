#include "foundation/lifecycle/ShowCom.h"

#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <functional>
#include <thread>

namespace {

// Each case on a thread of its own, which starts outside COM.
void OnFreshThread(const std::function<void()>& body)
{
    std::thread thread(body);
    thread.join();
}

// Whether the calling thread is in the single-threaded apartment: a start
// there answers S_FALSE, a first start S_OK. Counted down again either way.
bool InSingleThreadedApartment()
{
    const HRESULT probe = CoInitialize(nullptr);
    if (SUCCEEDED(probe))
        CoUninitialize();
    return probe == S_FALSE;
}

} // namespace

// However often the graph starts it, COM is counted up once and counted
// down once: after the end the thread is out of COM.
TEST(ShowCom, StartsOnceAndEndsOnce)
{
    OnFreshThread([] {
        ASSERT_FALSE(InSingleThreadedApartment());
        StartShowCom();
        StartShowCom();
        StartShowCom();
        EXPECT_TRUE(InSingleThreadedApartment());
        EndShowCom();
        EXPECT_FALSE(InSingleThreadedApartment());
        // A second end has nothing left to end.
        EndShowCom();
        EXPECT_FALSE(InSingleThreadedApartment());
    });
}

// On a thread already in the apartment the start (S_FALSE) still counts and
// is ended; the thread's own start stays.
TEST(ShowCom, AStartOnAThreadAlreadyInTheApartmentIsEndedToo)
{
    OnFreshThread([] {
        ASSERT_EQ(S_OK, CoInitialize(nullptr));
        StartShowCom();
        // Without the thread's own count COM is still there: the start
        // counted.
        CoUninitialize();
        EXPECT_TRUE(InSingleThreadedApartment());
        CoInitialize(nullptr);
        EndShowCom();
        EXPECT_TRUE(InSingleThreadedApartment());
        CoUninitialize();
        EXPECT_FALSE(InSingleThreadedApartment());
    });
}

// A thread in the multithreaded apartment refuses the start
// (RPC_E_CHANGED_MODE): nothing was counted, so nothing is ended, and the
// thread stays in its apartment.
TEST(ShowCom, AStartTheThreadRefusedIsNotEnded)
{
    OnFreshThread([] {
        ASSERT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_MULTITHREADED));
        StartShowCom();
        EndShowCom();
        const HRESULT again = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        EXPECT_EQ(S_FALSE, again);
        if (SUCCEEDED(again))
            CoUninitialize();
        CoUninitialize();
    });
}

// Only the thread that started COM ends it.
TEST(ShowCom, AnotherThreadDoesNotEndIt)
{
    OnFreshThread([] {
        StartShowCom();
        OnFreshThread([] {
            EndShowCom();
            EXPECT_FALSE(InSingleThreadedApartment());
        });
        EXPECT_TRUE(InSingleThreadedApartment());
        EndShowCom();
        EXPECT_FALSE(InSingleThreadedApartment());
    });
}
