/* Toon shading for the instanced renderer, vertex stage: GLSL 3.30 and 3.00 es (the renderer
   puts the #version line before it). The program joins these lines with nothing between them:
   no line comments, no preprocessor lines, and every line ends where a token ends.
   Each instance is a cube: its model-view matrix and colour. The face's normal in eye space is
   the normal matrix (the cofactors of the model-view's upper 3 x 3, which scaling keeps right)
   times the face's own normal; its diffuse term is the normal's z alone (light 0, white,
   directional from the viewer along +z), cut into the same flat bands as toon.frag's, once per
   vertex, and every vertex of a face has the same band, so the face is drawn flat. */
layout(location = 0) in vec3 corner;
layout(location = 1) in vec3 face_normal;
layout(location = 2) in vec4 model_view_0;
layout(location = 3) in vec4 model_view_1;
layout(location = 4) in vec4 model_view_2;
layout(location = 5) in vec4 model_view_3;
layout(location = 6) in vec4 color;
uniform mat4 projection;
flat out vec4 shade;
void main()
{
  mat4 model_view = mat4(model_view_0, model_view_1, model_view_2, model_view_3);
  vec3 x = model_view_0.xyz;
  vec3 y = model_view_1.xyz;
  vec3 z = model_view_2.xyz;
  vec3 normal = normalize(cross(y, z) * face_normal.x + cross(z, x) * face_normal.y + cross(x, y) * face_normal.z);
  float diffuse = max(normal.z, 0.0);
  float band = 0.32;
  if (diffuse > 0.25) { band = 0.55; }
  if (diffuse > 0.6) { band = 0.8; }
  if (diffuse > 0.9) { band = 1.0; }
  shade = vec4(color.rgb * band, color.a);
  gl_Position = projection * (model_view * vec4(corner, 1.0));
}
