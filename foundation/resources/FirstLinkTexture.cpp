#include "foundation/resources/FirstLinkTexture.h"

#include "foundation/resources/DS_DocResManager.h"
#include "foundation/resources/TextureSet.h"

SizedTexture GetFirstLinkTexture(const DS_FileLink3& link)
{
    return CurrentResManager ? GetFirstTexture(CurrentResManager->GetLinkTextures(link)) : SizedTexture();
}
