unit zxtabrel;

{$I units\prod.inc}

interface

uses Classes, Controls;

type
  TZXTabRelation = class(TComponent)
  end;

implementation

end.
