#pragma once

struct Loose {};
