// Registers the models' readers with the constructor registry: the butterflies
// and the clock come before the brushes, the 3D sprite array after them, so
// the start-up calls the two apart.
#pragma once

void RegisterModelReaders();
void RegisterModelArrayReaders();
