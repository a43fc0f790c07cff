// The light, the front material and the products of the two that the vertex shader sums.
#pragma once

#include "context.h"

namespace glweb {

struct LightingTerms {
    bool lit;
    GLfloat position[4];   // the light's, in eye coordinates
    GLfloat sceneColor[3];  // emission + model ambient * material ambient
    GLfloat ambient[3];     // the light's colours times the material's
    GLfloat diffuse[3];
    GLfloat specular[3];
    GLfloat alpha;  // the material's diffuse alpha
    GLfloat shininess;
};

LightingTerms lightingTerms();

}  // namespace glweb
