// The contact relaxation of sim/relaxation.h, to the same bits, without
// visiting every pair.
#pragma once

#include <span>

class Hamster;

// Same result as relaxCrowdReference for every state. Crowds larger than the
// pool fall back to the literal loop.
void relaxCrowdFast(std::span<Hamster* const> crowd);
