// Brothers and sisters on one account (the grown-ups' setting players = yes): each child is
// one of six animals, with paintings and options of its own in players/NAME/ below the
// player's folder, and below a paintings folder a grown-up chose.
#pragma once

#include <array>
#include <cstddef>
#include <string>

struct Animal {
  const char* name;          // the player's folder, and --player NAME
  const char* picture;       // on the animals screen
  const char* smallPicture;  // in the menu's corner
  const char* sound;         // played when the child picks it
};

constexpr size_t kAnimalCount = 6;
extern const std::array<Animal, kAnimalCount> kAnimals;

// The animal of that name, or null.
const Animal* FindAnimal(const std::string& name);
// The player's own folder below base: base/players/NAME.
std::string PlayerFolderIn(const std::string& base, const Animal& animal);
