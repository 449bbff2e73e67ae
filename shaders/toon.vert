/* Toon shading, vertex stage. The program joins these lines with nothing between them:
   no line comments, no preprocessor lines, and every line ends where a token ends. */
varying vec3 eye_position;
varying vec4 base_color;
void main()
{
  vec4 eye = gl_ModelViewMatrix * gl_Vertex;
  eye_position = eye.xyz;
  base_color = gl_Color;
  gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
}
