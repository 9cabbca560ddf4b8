/* Resource numbers of the test module, shared by its resource script, the
   generator of its files and the tests. Plain macros: the resource compiler
   reads this file too. */
#pragma once

#define TESTMODULE_PICTURE 201
#define TESTMODULE_SECOND_PICTURE 202
#define TESTMODULE_MESH 210
#define TESTMODULE_IMAGE_LIST 220
#define TESTMODULE_PLAIN_IMAGE_LIST 221
#define TESTMODULE_OVERRUN_DELAYS 222
#define TESTMODULE_OVERRUN_RECORDS 223
#define TESTMODULE_EFFECT 230

#ifndef RC_INVOKED
/* The file name under which the build puts the module beside the tests. */
#define TESTMODULE_FILE_NAME L"nightglass_test_res.dll"
/* Its twin with start-up code, and the file that code leaves in the
   temporary folder whenever the twin is loaded to run. */
#define TESTMODULE_STARTUP_FILE_NAME L"nightglass_test_startup.dll"
#define TESTMODULE_STARTUP_MARKER L"nightglass_test_startup_ran"
#endif
