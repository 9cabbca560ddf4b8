#include "foundation/resources/EffectTechnique.h"

#include <windows.h>

#include <string>

D3DXHANDLE UsableTechnique(ID3DXEffect* effect, const char* name)
{
    if (!effect || !name)
        return nullptr;
    const D3DXHANDLE technique = effect->GetTechniqueByName(name);
    if (!technique)
        return nullptr;
    if (FAILED(effect->ValidateTechnique(technique))) {
        const std::string message = std::string("Nightglass: the device refuses the effect technique \"") + name +
                                    "\"; it is treated as a missing effect.\n";
        OutputDebugStringA(message.c_str());
        return nullptr;
    }
    return technique;
}

bool TechniquesUsable(ID3DXEffect* effect, std::initializer_list<const char*> names)
{
    if (!effect)
        return false;
    for (const char* name : names)
        if (!UsableTechnique(effect, name))
            return false;
    return true;
}
