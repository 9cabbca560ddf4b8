// The resource table that ends the document.
#pragma once

class ArchiveHandle;
class DS_DocResManager;

// An object header whose name is not compared, then a new manager reads its
// body with the header's version; the caller owns it. A record that fails
// part way destroys the manager before the failure goes on.
DS_DocResManager* ReadDocResManager(ArchiveHandle& archive);
