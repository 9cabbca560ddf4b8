#include "scene/brushes/DS_BrushObj.h"

#include "foundation/resources/DS_DocResManager.h"
#include "scene/brushes/DS_FX_Constructor.h"

DS_BrushObj::DS_BrushObj(DS_FX_Constructor* clone) : DS_ABObj(clone), brush(clone)
{
    IDirect3DTexture9* mask = nullptr;
    if (CurrentResManager)
        mask = CurrentResManager->GuidTexture(brush->maskIdentity).Get();
    brush->BindResources(mask);
}

void DS_BrushObj::Render(DS_2D_Light& layer) { brush->Apply(layer); }

void DS_BrushObj::DrawHighlight(DS_2D_Light& layer, int) { brush->DrawHighlight(layer); }

void DS_BrushObj::Update(float time) { brush->Update(time); }

bool DS_BrushObj::NeedsBackground() { return brush->ReadsBackground(); }

void DS_BrushObj::OnDeviceRestored() { brush->CheckTechniques(); }
bool DS_BrushObj::WillDraw(DS_2D_Light& layer) { return brush->WillDraw(layer); }
