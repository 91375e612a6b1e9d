#include "shell/Players.h"

const std::array<Animal, kAnimalCount> kAnimals = {{
    {"cat", "img\\ico\\animal_cat.png", "img\\ico\\animal_cat_small.png", "snd\\sfx\\animal_cat.wav"},
    {"dog", "img\\ico\\animal_dog.png", "img\\ico\\animal_dog_small.png", "snd\\sfx\\animal_dog.wav"},
    {"frog", "img\\ico\\animal_frog.png", "img\\ico\\animal_frog_small.png", "snd\\sfx\\animal_frog.wav"},
    {"duck", "img\\ico\\animal_duck.png", "img\\ico\\animal_duck_small.png", "snd\\sfx\\animal_duck.wav"},
    {"pig", "img\\ico\\animal_pig.png", "img\\ico\\animal_pig_small.png", "snd\\sfx\\animal_pig.wav"},
    {"elephant", "img\\ico\\animal_elephant.png", "img\\ico\\animal_elephant_small.png",
     "snd\\sfx\\animal_elephant.wav"},
}};

const Animal* FindAnimal(const std::string& name) {
  for (const Animal& animal : kAnimals)
    if (name == animal.name) return &animal;
  return nullptr;
}

std::string PlayerFolderIn(const std::string& base, const Animal& animal) {
  return base + "/players/" + animal.name;
}
