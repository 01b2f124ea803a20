var v, w: Variant; i: Integer; s: string; d: Double;
begin
  v := 5;
  w := '7';
  i := v + w;
  Print('number and text: ' + IntToStr(i) + ' type ' + IntToStr(VarType(v + w)));
  v := 'ab';
  w := 'cd';
  s := v + w;
  Print('two texts: ' + s);
  v := Null;
  if VarIsNull(v + 1) then Print('null in, null out');
  v := Unassigned;
  if VarIsEmpty(v) then Print('empty');
  v := 2.5;
  d := v * 2;
  Print('real: ' + FloatToStr(d));
  v := 7;
  Print('variant div: ' + IntToStr(v div 2) + ' mod: ' + IntToStr(v mod 4));
  v := True;
  if v then Print('boolean variant');
  v := 'x';
  i := v;
end.
