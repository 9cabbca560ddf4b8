#pragma once

struct Detail {};
