/* Toon shading, fragment stage. The cubes send no normals: each face gets its own from the
   screen-space slope of the eye-space position, so a face is flat and its edges are crisp.
   Light 0 (OpenGL's default: white, from the viewer) is cut into a few flat bands and
   multiplied by the vertex colour. */
varying vec3 eye_position;
varying vec4 base_color;
void main()
{
  vec3 normal = normalize(cross(dFdx(eye_position), dFdy(eye_position)));
  vec4 light_position = gl_LightSource[0].position;
  vec3 light = normalize(light_position.xyz - eye_position * light_position.w);
  float diffuse = max(dot(normal, light), 0.0);
  float band = 0.32;
  if (diffuse > 0.25) { band = 0.55; }
  if (diffuse > 0.6) { band = 0.8; }
  if (diffuse > 0.9) { band = 1.0; }
  gl_FragColor = vec4(base_color.rgb * band, base_color.a);
}
