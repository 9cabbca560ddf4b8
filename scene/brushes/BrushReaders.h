// Registers the brushes' readers with the constructor registry.
#pragma once

void RegisterBrushReaders();
