#pragma once
// The simulated Local Unit (being written).
