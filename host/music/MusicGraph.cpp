#include "host/music/MusicGraph.h"

#include "foundation/lifecycle/ShowCom.h"
#include "host/framework/Settings.h"

#include <algorithm>
#include <vector>

ComHolder<IGraphBuilder> MusicGraph;
ComHolder<IMediaControl> MusicControl;
ComHolder<IMediaSeeking> MusicSeeking;
ComHolder<IMediaEventEx> MusicEvents;
ComHolder<IBasicAudio> MusicAudio;

namespace {

const long Silence = -10000;
const long VolumeStep = 40;
const DWORD FullVolume = 100;

template <class T>
bool Query(IUnknown* object, REFIID id, ComHolder<T>& target)
{
    return SUCCEEDED(object->QueryInterface(id, reinterpret_cast<void**>(target.Out())));
}

void RewindAndRun()
{
    LONGLONG start = 0;
    MusicSeeking->SetPositions(&start, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
    MusicControl->Run();
}

} // namespace

bool InitMusicGraph(HWND window)
{
    StartShowCom();
    if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                                IID_IGraphBuilder, reinterpret_cast<void**>(MusicGraph.Out()))))
        return false;
    if (!Query(MusicGraph.Get(), IID_IMediaControl, MusicControl) ||
        !Query(MusicGraph.Get(), IID_IMediaSeeking, MusicSeeking) ||
        !Query(MusicGraph.Get(), IID_IMediaEventEx, MusicEvents) ||
        !Query(MusicGraph.Get(), IID_IBasicAudio, MusicAudio))
        return false;
    return SUCCEEDED(MusicEvents->SetNotifyWindow(reinterpret_cast<OAHWND>(window), MusicEventMessage, 0));
}

void ReleaseMusicGraph()
{
    MusicAudio.Release();
    MusicEvents.Release();
    MusicSeeking.Release();
    MusicControl.Release();
    MusicGraph.Release();
}

void ClearMusicGraph()
{
    if (!MusicGraph)
        return;
    // A running graph refuses to give up its filters.
    if (MusicControl)
        MusicControl->Stop();
    // Taking a filter out while enumerating upsets the enumeration: every
    // filter is collected first.
    std::vector<ComHolder<IBaseFilter>> filters;
    ComHolder<IEnumFilters> list;
    if (FAILED(MusicGraph->EnumFilters(list.Out())) || !list)
        return;
    for (;;) {
        ComHolder<IBaseFilter> filter;
        if (list->Next(1, filter.Out(), nullptr) != S_OK || !filter)
            break;
        filters.push_back(filter);
    }
    for (const ComHolder<IBaseFilter>& filter : filters)
        MusicGraph->RemoveFilter(filter.Get());
}

bool PlayThroughSourceFilter(IBaseFilter* source)
{
    try {
        if (!source || !MusicGraph || !MusicControl || !MusicSeeking)
            return false;
        ComHolder<IPin> output;
        if (FAILED(source->FindPin(L"Output", output.Out())) || !output)
            return false;
        MusicControl->Stop();
        if (FAILED(MusicGraph->Render(output.Get())))
            return false;
        RewindAndRun();
        return true;
    } catch (...) {
        return false;
    }
}

bool RenderMusicFile(const ds_string& path)
{
    if (!MusicGraph || !MusicControl)
        return false;
    if (FAILED(MusicGraph->RenderFile(path.c_str(), nullptr)))
        return false;
    MusicControl->Run();
    return true;
}

void RewindMusic()
{
    if (MusicControl && MusicSeeking)
        RewindAndRun();
}

void ApplyMusicVolume(bool muted)
{
    if (!MusicAudio)
        return;
    const long steps = static_cast<long>(FullVolume - std::min(MusicSettings.volume, FullVolume));
    MusicAudio->put_Volume(muted ? Silence : -VolumeStep * steps);
}

int GetMusicEvent()
{
    if (!MusicEvents)
        return -1;
    long code = 0;
    LONG_PTR first = 0;
    LONG_PTR second = 0;
    if (FAILED(MusicEvents->GetEvent(&code, &first, &second, 0)))
        return -1;
    MusicEvents->FreeEventParams(code, first, second);
    return static_cast<int>(code);
}

namespace {

class GraphShowMusic final : public ShowMusic {
public:
    bool Create(HWND window) override { return InitMusicGraph(window); }
    void Release() override { ReleaseMusicGraph(); }
    int NextEvent() override { return GetMusicEvent(); }
};

} // namespace

ShowMusic& GraphMusic()
{
    static GraphShowMusic music;
    return music;
}
