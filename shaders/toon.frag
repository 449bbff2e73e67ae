/* Toon shading, fragment stage. The cubes send no normals: each face gets its own from the
   screen-space slope of the eye-space position, so a face is flat and its edges are crisp.
   The light is light 0 as the start-up state leaves it, OpenGL's default: white, directional,
   from the viewer along +z in eye space. Its diffuse term is then the normal's z alone, which
   spares every fragment a dot product with the light and its normalisation. That term is cut
   into a few flat bands and multiplied by the vertex colour. */
varying vec3 eye_position;
varying vec4 base_color;
void main()
{
  vec3 normal = normalize(cross(dFdx(eye_position), dFdy(eye_position)));
  float diffuse = max(normal.z, 0.0);
  float band = 0.32;
  if (diffuse > 0.25) { band = 0.55; }
  if (diffuse > 0.6) { band = 0.8; }
  if (diffuse > 0.9) { band = 1.0; }
  gl_FragColor = vec4(base_color.rgb * band, base_color.a);
}
