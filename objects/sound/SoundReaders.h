// Registers the sound's reader with the constructor registry.
#pragma once

void RegisterSoundReaders();
