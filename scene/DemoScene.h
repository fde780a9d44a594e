#pragma once
// A synthetic satellite scene, made by code, to colour when the user has no images of their own:
// warm dark sea, warmer brighter land behind a coastline, a deck of low warm bright cloud, high
// cold bright storm tops, thin cold dim cirrus and, beyond the day/night line, a cold storm
// that the visible channel barely shows. With the default infrared scale its temperatures
// reach every column of the table and its visible levels most rows, so every anchor and the
// blue tail colour some part of it.
//
// The same scene on every run and machine: only integer hashing and the four basic
// operations, no transcendental functions whose last bit could differ between libraries.
#include "GreyImage.h"

namespace palettor {

constexpr int kDemoSceneWidth = 1024;
constexpr int kDemoSceneHeight = 768;

struct DemoScene {
  GreyImage ir;   // 8-bit; level 0 is +40 degrees, 255 is -60 degrees (the default scale)
  GreyImage vis;  // 8-bit
};

DemoScene MakeDemoScene();

}  // namespace palettor
