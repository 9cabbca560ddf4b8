#include "objects/particles/ParticleReaders.h"

#include "foundation/archive/ReaderRegistry.h"
#include "objects/particles/DS_BirdConstructor.h"
#include "objects/particles/DS_DischargeConstructor.h"
#include "objects/particles/DS_DischargeFXConstructor.h"
#include "objects/particles/DS_FishConstructor.h"
#include "objects/particles/DS_FlowConstructor.h"
#include "objects/particles/DS_FlowerConstructor.h"
#include "objects/particles/DS_FogConstructor.h"
#include "objects/particles/DS_GhostConstructor.h"
#include "objects/particles/DS_GodRayConstructor.h"
#include "objects/particles/DS_GrassConstructor.h"
#include "objects/particles/DS_LightingConstructor.h"
#include "objects/particles/DS_RainConstructor.h"
#include "objects/particles/DS_SparkleConstructor.h"
#include "objects/particles/DS_StatObjConstructor.h"

void RegisterParticleReaders()
{
    RegisterConstructorReader<DS_GodRayConstructor>(L"DS_GodRayConstructor");
    RegisterConstructorReader<DS_SparkleConstructor>(L"DS_SparkleConstructor");
    RegisterConstructorReader<DS_FlowConstructor>(L"DS_FlowConstructor");
    RegisterConstructorReader<DS_FishConstructor>(L"DS_FishConstructor");
    RegisterConstructorReader<DS_GhostConstructor>(L"DS_GhostConstructor");
    RegisterConstructorReader<DS_FogConstructor>(L"DS_FogConstructor");
    RegisterConstructorReader<DS_LightingConstructor>(L"DS_LightingConstructor");
    RegisterConstructorReader<DS_GrassConstructor>(L"DS_GrassConstructor");
    RegisterConstructorReader<DS_RainConstructor>(L"DS_RainConstructor");
    RegisterConstructorReader<DS_StatObjConstructor>(L"DS_StatObjConstructor");
    RegisterConstructorReader<DS_FlowerConstructor>(L"DS_FlowerConstructor");
    RegisterConstructorReader<DS_BirdConstructor>(L"DS_BirdConstructor");
    RegisterConstructorReader<DS_DischargeConstructor>(L"DS_DischargeConstructor");
    RegisterConstructorReader<DS_DischargeFXConstructor>(L"DS_DischargeFXConstructor");
}
