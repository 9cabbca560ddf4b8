// Registers the six layers' readers with the layer registry.
#pragma once

void RegisterLayerReaders();
