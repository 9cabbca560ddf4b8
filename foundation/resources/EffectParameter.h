// A parameter of an effect, looked up by name once for each effect object,
// so that drawing sets it through its handle rather than by name on every
// frame. An effect without the name gives a null handle; setting a null
// handle changes nothing and fails as setting a missing name does.
#pragma once

#include <d3dx9effect.h>

#include <initializer_list>

class EffectParameter {
public:
    explicit EffectParameter(const char* parameterName) : name(parameterName) {}

    // The handle of the name in effect; null without an effect.
    void LookUp(ID3DXEffect* effect) { handle = effect ? effect->GetParameterByName(nullptr, name) : nullptr; }
    D3DXHANDLE Handle() const { return handle; }

private:
    const char* name;
    D3DXHANDLE handle = nullptr;
};

// Looks each of the parameters up in effect.
inline void LookUpEffectParameters(ID3DXEffect* effect, std::initializer_list<EffectParameter*> parameters)
{
    for (EffectParameter* parameter : parameters)
        parameter->LookUp(effect);
}
