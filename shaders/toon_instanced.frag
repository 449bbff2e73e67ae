/* Toon shading for the instanced renderer, fragment stage: the face's banded colour, computed
   once per vertex (toon_instanced.vert), as it is. */
flat in vec4 shade;
out vec4 fragment_color;
void main()
{
  fragment_color = shade;
}
