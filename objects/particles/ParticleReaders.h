// Registers the particle systems' readers with the constructor registry.
#pragma once

void RegisterParticleReaders();
