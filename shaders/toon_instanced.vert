/* Toon shading for the instanced renderer, vertex stage: GLSL 3.30 and 3.00 es (the renderer
   puts the #version line before it). The program joins these lines with nothing between them:
   no line comments, no preprocessor lines, and every line ends where a token ends.
   Each instance is a cube: its model-view-projection matrix, its colour, and how far the
   normals of its +x, +y and +z faces turn toward the viewer (the eye-space z of each unit
   normal, which the renderer works out once a cube). The light is light 0 as the classic
   renderer leaves it: white, directional, from the viewer along +z in eye space, so a face's
   diffuse term is its normal's z alone; it is cut into the same flat bands as toon.frag's, and
   every vertex of a face has the same band, so the face is drawn flat. */
layout(location = 0) in vec3 corner;
layout(location = 1) in vec3 face_normal;
layout(location = 2) in vec4 transform_0;
layout(location = 3) in vec4 transform_1;
layout(location = 4) in vec4 transform_2;
layout(location = 5) in vec4 transform_3;
layout(location = 6) in vec4 color;
layout(location = 8) in vec3 facing;
flat out vec4 shade;
void main()
{
  float diffuse = max(dot(face_normal, facing), 0.0);
  float band = 0.32;
  if (diffuse > 0.25) { band = 0.55; }
  if (diffuse > 0.6) { band = 0.8; }
  if (diffuse > 0.9) { band = 1.0; }
  shade = vec4(color.rgb * band, color.a);
  gl_Position = mat4(transform_0, transform_1, transform_2, transform_3) * vec4(corner, 1.0);
}
